// Lists, hash tables, atom arrays and memory blocks: what they do with items that leave (by the
// flags), and walks that remove items while they run. Under AddressSanitizer a double free or a
// leak here fails the run.
#include <gtest/gtest.h>

#include "svc_test_util.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace {

std::vector<long> values(t_linklist *l) {
    std::vector<long> out;
    for (long i = 0; i < linklist_getsize(l); ++i) out.push_back(*static_cast<long *>(linklist_getindex(l, i)));
    return out;
}

TEST(Sysmem, ClearingResizeZeroesOnlyTheNewBytes) {
    auto *p = reinterpret_cast<unsigned char *>(sysmem_newptr(24));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u);
    std::memset(p, 0xAB, 24);
    p = reinterpret_cast<unsigned char *>(sysmem_resizeptrclear(p, 100));
    EXPECT_EQ(sysmem_ptrsize(p), 100u);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(p[i], i < 24 ? 0xAB : 0) << i;
    // After shrinking, growing clears from the smaller size on.
    std::memset(p, 0xCD, 100);
    p = reinterpret_cast<unsigned char *>(sysmem_resizeptrclear(sysmem_resizeptr(p, 10), 40));
    for (int i = 0; i < 40; ++i) ASSERT_EQ(p[i], i < 10 ? 0xCD : 0) << i;
    // The plain resize keeps every old byte when it grows.
    p = reinterpret_cast<unsigned char *>(sysmem_resizeptr(p, 4000));
    for (int i = 0; i < 40; ++i) ASSERT_EQ(p[i], i < 10 ? 0xCD : 0) << i;
    sysmem_freeptr(p);
    sysmem_freeptr(nullptr);

    auto *z = reinterpret_cast<unsigned char *>(sysmem_newptrclear(2048));
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(z[i], 0) << i;
    sysmem_freeptr(z);
    // A size that cannot be had fails and leaves the block as it was (the header must not wrap).
    auto *keep = reinterpret_cast<unsigned char *>(sysmem_newptr(8));
    std::memset(keep, 0x5A, 8);
    EXPECT_EQ(sysmem_newptr(~t_ptr_size(0)), nullptr);
    EXPECT_EQ(sysmem_resizeptrclear(keep, ~t_ptr_size(0)), nullptr);
    EXPECT_EQ(sysmem_ptrsize(keep), 8u);
    for (int i = 0; i < 8; ++i) ASSERT_EQ(keep[i], 0x5A) << i;
    sysmem_freeptr(keep);
    // Resizing nothing allocates, as an array made on first use is.
    auto *d = reinterpret_cast<double *>(sysmem_resizeptr(nullptr, 5 * sizeof(double)));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(sysmem_ptrsize(d), 5 * sizeof(double));
    sysmem_freeptr(d);
}

struct Walk {
    t_linklist *list;
    std::vector<long> seen;
    std::set<long> remove_self;  // removed when visited
    long remove_ahead;           // removed while the first item is visited
};

void walk_linkfun(long *item, Walk *w) {
    w->seen.push_back(*item);
    if (w->seen.size() == 1)
        for (long i = 0; i < linklist_getsize(w->list); ++i)
            if (*static_cast<long *>(linklist_getindex(w->list, i)) == w->remove_ahead) linklist_deleteindex(w->list, i);
    if (w->remove_self.count(*item)) linklist_deleteindex(w->list, linklist_objptr2index(w->list, item));
}

TEST(Linklist, WalkSurvivesRemovals) {
    t_linklist *l = linklist_new();
    linklist_flags(l, OBJ_FLAG_MEMORY);
    for (long i = 0; i < 8; ++i) linklist_append(l, number_block(i));
    Walk w{l, {}, {0, 3, 4, 7}, 5};  // first, a middle pair, last; 5 goes before its turn
    linklist_funall(l, as_method(walk_linkfun), &w);
    EXPECT_EQ(w.seen, (std::vector<long>{0, 1, 2, 3, 4, 6, 7}));
    EXPECT_EQ(values(l), (std::vector<long>{1, 2, 6}));
    w = Walk{l, {}, {1, 2, 6}, -1};  // everything
    linklist_funall(l, as_method(walk_linkfun), &w);
    EXPECT_EQ(w.seen.size(), 3u);
    EXPECT_EQ(linklist_getsize(l), 0);
    linklist_append(l, number_block(9));
    object_free(l);
}

TEST(Linklist, FlagsDecideWhetherItemsAreFreed) {
    int frees = 0;
    t_linklist *l = linklist_new();  // flag 0: items are objects
    for (int i = 0; i < 6; ++i) linklist_append(l, counted_new(&frees));
    EXPECT_EQ(linklist_deleteindex(l, 0), 0);
    EXPECT_EQ(linklist_deleteindex(l, 99), -1);
    EXPECT_EQ(frees, 1);
    void *kept = linklist_getindex(l, 0);
    EXPECT_EQ(linklist_chuckindex(l, 0), 0);  // out, not freed
    EXPECT_EQ(frees, 1);
    object_free(kept);
    linklist_clear(l);
    EXPECT_EQ(frees, 6);
    linklist_append(l, counted_new(&frees));
    object_free(l);
    EXPECT_EQ(frees, 7);
}

long equals_linkfun(void *item, void *wanted) { return *static_cast<long *>(item) == *static_cast<long *>(wanted); }

TEST(Linklist, FindFirstAndNavigation) {
    t_linklist *l = linklist_new();
    linklist_flags(l, OBJ_FLAG_MEMORY);
    for (long v : {5, 7, 9, 7}) linklist_append(l, number_block(v));
    void *found = nullptr;
    long wanted = 7;
    EXPECT_EQ(linklist_findfirst(l, &found, equals_linkfun, &wanted), 1);
    EXPECT_EQ(found, linklist_getindex(l, 1));
    wanted = 4;
    EXPECT_EQ(linklist_findfirst(l, &found, equals_linkfun, &wanted), -1);
    EXPECT_EQ(found, nullptr);

    std::vector<long> walked;  // getindex 0, then next until NULL
    for (void *p = linklist_getindex(l, 0); p; linklist_next(l, p, &p)) walked.push_back(*static_cast<long *>(p));
    EXPECT_EQ(walked, (std::vector<long>{5, 7, 9, 7}));
    walked.clear();  // back from the last with prev, whose result is the item it stores
    for (void *p = linklist_getindex(l, 3); p; p = linklist_prev(l, p, nullptr)) walked.push_back(*static_cast<long *>(p));
    EXPECT_EQ(walked, (std::vector<long>{7, 9, 7, 5}));
    void *stored = l;
    EXPECT_EQ(linklist_prev(l, linklist_getindex(l, 0), &stored), nullptr);
    EXPECT_EQ(stored, nullptr);
    EXPECT_EQ(linklist_insertindex(l, number_block(1), 0), 0);
    linklist_reverse(l);
    EXPECT_EQ(values(l), (std::vector<long>{7, 9, 7, 5, 1}));
    object_free(l);
}

TEST(Linklist, ShuffleLastsAndFollowsTheSeed) {
    t_linklist *l = linklist_new();
    linklist_flags(l, OBJ_FLAG_MEMORY);
    for (long i = 0; i < 10; ++i) linklist_append(l, number_block(i));
    std::set<std::vector<long>> orders;
    std::vector<long> after_seed_1;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        srand(seed);
        linklist_shuffle(l);
        std::vector<long> order = values(l), sorted = values(l);
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted, (std::vector<long>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        EXPECT_EQ(values(l), order);  // the order stays
        orders.insert(order);
    }
    EXPECT_GT(orders.size(), 15u);
    // The same seed from the same order gives the same order.
    std::vector<long> start = values(l);
    srand(42);
    linklist_shuffle(l);
    std::vector<long> first = values(l);
    linklist_clear(l);
    for (long v : start) linklist_append(l, number_block(v));
    srand(42);
    linklist_shuffle(l);
    EXPECT_EQ(values(l), first);
    object_free(l);
}

struct TableWalk {
    t_hashtab *table;
    std::vector<intptr_t> keys;
    bool delete_even;             // delete the visited entry when its value is even
    intptr_t delete_ahead;        // deleted while the first entry is visited
};

void table_hashfun(t_hashtab_entry *e, TableWalk *w) {
    long value = *reinterpret_cast<long *>(e->value);  // key and value still valid
    EXPECT_EQ(value, reinterpret_cast<intptr_t>(e->key));
    w->keys.push_back(reinterpret_cast<intptr_t>(e->key));
    if (w->keys.size() == 1) hashtab_delete(w->table, int_key(w->delete_ahead));
    if (w->delete_even && value % 2 == 0) hashtab_delete(w->table, e->key);
}

TEST(Hashtab, WalkSurvivesDeletionsAndKeepsInsertionOrder) {
    t_hashtab *t = hashtab_new(3);  // small: the index must grow
    hashtab_flags(t, OBJ_FLAG_MEMORY);
    std::vector<intptr_t> order = {40, 3, 17, 1000, 5, 8, 99, 12};
    for (intptr_t k : order) hashtab_store(t, int_key(k), reinterpret_cast<t_object *>(number_block(k)));
    TableWalk w{t, {}, false, -1};
    hashtab_funall(t, as_method(table_hashfun), &w);
    EXPECT_EQ(w.keys, order);


    w = TableWalk{t, {}, true, 99};
    hashtab_funall(t, as_method(table_hashfun), &w);
    EXPECT_EQ(w.keys, (std::vector<intptr_t>{40, 3, 17, 1000, 5, 8, 12}));  // 99 went first
    EXPECT_EQ(hashtab_getsize(t), 3);
    t_object *v = nullptr;
    EXPECT_NE(hashtab_lookup(t, int_key(40), &v), MAX_ERR_NONE);
    EXPECT_EQ(v, nullptr);
    ASSERT_EQ(hashtab_lookup(t, int_key(17), &v), MAX_ERR_NONE);
    EXPECT_EQ(*reinterpret_cast<long *>(v), 17);
    EXPECT_EQ(hashtab_chuckkey(t, int_key(17)), MAX_ERR_NONE);  // out, not freed
    sysmem_freeptr(v);
    object_free(t);
}

TEST(Hashtab, StoreReplacesInPlaceAndFlagsFreeValues) {
    int frees = 0;
    t_hashtab *t = hashtab_new(0);  // flag 0: values are objects
    for (intptr_t k = 1; k <= 4; ++k) hashtab_store(t, int_key(k), &counted_new(&frees)->ob);
    Counted *replacement = counted_new(&frees);
    hashtab_store(t, int_key(2), &replacement->ob);  // frees the old value
    hashtab_store(t, int_key(2), &replacement->ob);  // same value: nothing freed
    EXPECT_EQ(frees, 1);
    long kc = 0;
    t_symbol **kv = nullptr;
    ASSERT_EQ(hashtab_getkeys(t, &kc, &kv), MAX_ERR_NONE);
    EXPECT_EQ(std::vector<t_symbol *>(kv, kv + kc), (std::vector<t_symbol *>{int_key(1), int_key(2), int_key(3), int_key(4)}));
    sysmem_freeptr(kv);
    EXPECT_EQ(hashtab_delete(t, int_key(3)), MAX_ERR_NONE);
    EXPECT_NE(hashtab_delete(t, int_key(3)), MAX_ERR_NONE);
    EXPECT_EQ(frees, 2);
    hashtab_clear(t);
    EXPECT_EQ(frees, 5);
    hashtab_store(t, int_key(9), &counted_new(&frees)->ob);
    object_free(t);
    EXPECT_EQ(frees, 6);
}

TEST(Atomarray, OwnsItsAtoms) {
    t_atom src[3];
    atom_setlong(src, 1);
    atom_setlong(src + 1, 2);
    atom_setfloat(src + 2, 2.5);
    t_atomarray *a = atomarray_new(3, src);
    atom_setlong(src, 100);  // the array copied
    long ac = 0;
    t_atom *av = nullptr;
    atomarray_getatoms(a, &ac, &av);
    ASSERT_EQ(ac, 3);
    EXPECT_EQ(atom_getlong(av), 1);
    t_atom *copy = nullptr;
    atomarray_copyatoms(a, &ac, &copy);
    sysmem_freeptr(copy);  // a separate block

    atomarray_appendatoms(a, ac, av);  // its own atoms, which the growth moves
    atomarray_getatoms(a, &ac, &av);
    atomarray_appendatom(a, av + ac - 1);
    t_atom last;
    ASSERT_EQ(atomarray_getindex(a, 6, &last), MAX_ERR_NONE);
    EXPECT_EQ(atom_getfloat(&last), 2.5);
    EXPECT_NE(atomarray_getindex(a, 7, &last), MAX_ERR_NONE);
    object_free(a);

    // Made empty, cleared and refilled, as a result buffer is between reports.
    a = atomarray_new(0, nullptr);
    atomarray_getatoms(a, &ac, &av);
    EXPECT_EQ(ac, 0);
    atomarray_appendatom(a, src);
    atomarray_appendatom(a, src + 1);
    atomarray_clear(a);
    EXPECT_EQ(atomarray_getsize(a), 0);
    atomarray_appendatom(a, src + 2);
    atomarray_getatoms(a, &ac, &av);
    ASSERT_EQ(ac, 1);
    EXPECT_EQ(atom_getfloat(av), 2.5);
    object_free(a);
}

}  // namespace
