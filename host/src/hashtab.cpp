// Hash tables keyed by pointer value. An unordered_map gives O(1) lookup; the entries also form a
// list in insertion order, which is the order funall and getkeys use (it stays the same while the
// table is unchanged, and a store on an existing key keeps the entry's place). An entry removed
// during a walk is marked dead and kept until the last walk ends, so the walk skips it and the
// t_hashtab_entry handed to a callback stays valid while the callback runs.
#include "ext_hashtab.h"

#include "svc_internal.h"

#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

struct Entry {
    t_hashtab_entry e;  // what funall hands out
    Entry *prev;
    Entry *next;
    std::atomic<bool> dead;  // set under the lock; a walk reads it without
};

struct TableImpl {
    maxhost_svc::SpinLock m;
    std::unordered_map<t_symbol *, Entry *> index;
    Entry *head = nullptr;
    Entry *tail = nullptr;
    long flags = OBJ_FLAG_OBJ;
    int walking = 0;
    std::vector<Entry *> graveyard;

    // Caller holds m.
    void unlink(Entry *en) {
        index.erase(en->e.key);
        (en->prev ? en->prev->next : head) = en->next;
        (en->next ? en->next->prev : tail) = en->prev;
        en->prev = en->next = nullptr;
        en->dead.store(true, std::memory_order_relaxed);
        if (walking)
            graveyard.push_back(en);
        else
            delete en;
    }

    // Caller holds m.
    void end_walk() {
        if (--walking == 0) {
            for (Entry *en : graveyard) delete en;
            graveyard.clear();
        }
    }
};

}  // namespace

struct _hashtab {
    t_object ob;
    TableImpl *impl;
};

namespace {

void clear_entries(TableImpl *impl) {
    std::vector<t_object *> values;
    long flags;
    {
        std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
        flags = impl->flags;
        values.reserve(impl->index.size());
        while (impl->head) {
            values.push_back(impl->head->e.value);
            impl->unlink(impl->head);
        }
    }
    for (t_object *v : values) maxhost_svc::let_go(v, flags);
}

void hashtab_release(t_hashtab *x) {
    if (!x->impl) return;
    clear_entries(x->impl);
    delete x->impl;
    x->impl = nullptr;
}

t_class *hashtab_class() {
    static t_class *c = maxhost_svc::make_internal_class(
        "hashtab", maxhost_svc::as_method(hashtab_release), sizeof(t_hashtab));
    return c;
}

TableImpl *impl_of(t_hashtab *x) { return x ? x->impl : nullptr; }

// Removes the entry under key; its value is returned in *value. False when there is none.
bool take(t_hashtab *x, t_symbol *key, t_object **value, long *flags) {
    TableImpl *impl = impl_of(x);
    if (!impl) return false;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    auto it = impl->index.find(key);
    if (it == impl->index.end()) return false;
    *value = it->second->e.value;
    *flags = impl->flags;
    impl->unlink(it->second);
    return true;
}

}  // namespace

extern "C" {

t_hashtab *hashtab_new(long slotcount) {
    auto *x = static_cast<t_hashtab *>(object_alloc(hashtab_class()));
    if (!x) return nullptr;
    x->impl = new TableImpl;
    x->impl->index.reserve(slotcount > 0 ? static_cast<size_t>(slotcount) : 59);
    return x;
}

void hashtab_flags(t_hashtab *x, long flags) {
    TableImpl *impl = impl_of(x);
    if (!impl) return;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    impl->flags = flags;
}

t_atom_long hashtab_getflags(t_hashtab *x) {
    TableImpl *impl = impl_of(x);
    if (!impl) return 0;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    return impl->flags;
}

t_max_err hashtab_store(t_hashtab *x, t_symbol *key, t_object *val) {
    TableImpl *impl = impl_of(x);
    if (!impl) return MAX_ERR_INVALID_PTR;
    t_object *old = nullptr;
    long flags;
    {
        std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
        flags = impl->flags;
        auto it = impl->index.find(key);
        if (it != impl->index.end()) {
            old = it->second->e.value;
            it->second->e.value = val;
        } else {
            auto *en = new Entry{};
            en->e.key = key;
            en->e.value = val;
            en->e.flags = impl->flags;
            en->e.parent = x;
            en->prev = impl->tail;
            (impl->tail ? impl->tail->next : impl->head) = en;
            impl->tail = en;
            impl->index.emplace(key, en);
        }
    }
    if (old && old != val) maxhost_svc::let_go(old, flags);
    return MAX_ERR_NONE;
}

t_max_err hashtab_lookup(t_hashtab *x, t_symbol *key, t_object **val) {
    TableImpl *impl = impl_of(x);
    if (val) *val = nullptr;
    if (!impl) return MAX_ERR_INVALID_PTR;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    auto it = impl->index.find(key);
    if (it == impl->index.end()) return MAX_ERR_GENERIC;
    if (val) *val = it->second->e.value;
    return MAX_ERR_NONE;
}

t_max_err hashtab_delete(t_hashtab *x, t_symbol *key) {
    t_object *value;
    long flags;
    if (!take(x, key, &value, &flags)) return MAX_ERR_GENERIC;
    maxhost_svc::let_go(value, flags);
    return MAX_ERR_NONE;
}

t_max_err hashtab_chuckkey(t_hashtab *x, t_symbol *key) {
    t_object *value;
    long flags;
    return take(x, key, &value, &flags) ? MAX_ERR_NONE : MAX_ERR_GENERIC;
}

t_max_err hashtab_clear(t_hashtab *x) {
    TableImpl *impl = impl_of(x);
    if (!impl) return MAX_ERR_INVALID_PTR;
    clear_entries(impl);
    return MAX_ERR_NONE;
}

t_atom_long hashtab_getsize(t_hashtab *x) {
    TableImpl *impl = impl_of(x);
    if (!impl) return 0;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    return static_cast<t_atom_long>(impl->index.size());
}

void hashtab_funall(t_hashtab *x, method fun, void *arg) {
    TableImpl *impl = impl_of(x);
    if (!impl || !fun) return;
    std::unique_lock<maxhost_svc::SpinLock> lk(impl->m);
    maxhost_svc::WalkSnapshot<Entry *> snapshot(impl->index.size());
    for (Entry *en = impl->head; en; en = en->next) snapshot.push(en);
    ++impl->walking;
    lk.unlock();
    // Entries removed during the walk stay allocated until it ends.
    for (Entry *en : snapshot) {
        if (en->dead.load(std::memory_order_relaxed)) continue;
        reinterpret_cast<void (*)(void *, void *)>(fun)(&en->e, arg);
    }
    lk.lock();
    impl->end_walk();
}

t_max_err hashtab_getkeys(t_hashtab *x, long *kc, t_symbol ***kv) {
    if (kc) *kc = 0;
    if (kv) *kv = nullptr;
    TableImpl *impl = impl_of(x);
    if (!impl || !kc || !kv) return MAX_ERR_INVALID_PTR;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    size_t n = impl->index.size();
    if (n == 0) return MAX_ERR_NONE;
    auto **keys = reinterpret_cast<t_symbol **>(sysmem_newptr(n * sizeof(t_symbol *)));
    if (!keys) return MAX_ERR_OUT_OF_MEM;
    size_t i = 0;
    for (Entry *en = impl->head; en; en = en->next) keys[i++] = en->e.key;
    *kc = static_cast<long>(n);
    *kv = keys;
    return MAX_ERR_NONE;
}

}  // extern "C"
