// echoseq: a factor oracle over a stream of integer symbols.
//
// Each "int" adds one symbol (state i is made by the i-th symbol), each "bang" sends the next
// symbol of a random walk that goes straight on or jumps through arcs and suffix links, and
// repeated segments of the stream are sent as lists on the right outlet.
//
// Storage: nodes sit inline in one table; the arcs of a state are a contiguous block of a
// per-instance pool (blocks of 2^c arcs, one free list per size), so a state with many arcs costs
// no list nodes and an arc is picked by index. States with long arc lists are also indexed by
// (state, symbol) in an open-addressing table, so that a stream of ever new symbols, which puts
// almost every arc on state 0, does not scan that list for each symbol.
#include "echoseq.h"

#include <limits.h>
#include <time.h>

#if defined(_MSC_VER)
#include <intrin.h>
#endif

t_class *echoseq_class = NULL;

// Handlers are registered through the host's generic `method` type.
#define ECHOSEQ_METHOD(f) ((method)(void (*)(void))(f))

// ------------------------------------------------------------------------------------------------
// Fields read or written outside the mutex ("bang" reads `count` before locking; the clock task
// clears `dump_busy` on the scheduler thread) go through these relaxed atomic accesses.
// ------------------------------------------------------------------------------------------------

static inline t_int32 relaxed_get(const t_int32 *p)
{
#if defined(_MSC_VER)
    return *(const volatile t_int32 *)p;
#else
    return __atomic_load_n(p, __ATOMIC_RELAXED);
#endif
}

static inline void relaxed_set(t_int32 *p, t_int32 v)
{
#if defined(_MSC_VER)
    *(volatile t_int32 *)p = v;
#else
    __atomic_store_n(p, v, __ATOMIC_RELAXED);
#endif
}

static inline t_int32 relaxed_swap(t_int32 *p, t_int32 v)
{
#if defined(_MSC_VER)
    static_assert(sizeof(long) == sizeof(t_int32), "MSVC long is 32 bits");
    return (t_int32)_InterlockedExchange((volatile long *)p, (long)v);
#else
    return __atomic_exchange_n(p, v, __ATOMIC_RELAXED);
#endif
}

// A draw in [0, n) that works whatever RAND_MAX is, combining draws when n exceeds it.
static t_int32 draw_below(t_int32 n)
{
    const t_uint64 base = (t_uint64)RAND_MAX + 1u;
    t_uint64 r = (t_uint64)rand();
    for (t_uint64 span = base; span < (t_uint64)n; span *= base)
        r = r * base + (t_uint64)rand();
    return (t_int32)(r % (t_uint64)n);
}

// ------------------------------------------------------------------------------------------------
// Arc pool and arc index
// ------------------------------------------------------------------------------------------------

// Size class of the block that holds n arcs (n >= 1): the smallest c with 2^c >= n.
static int block_class(t_int32 n)
{
    int c = 0;
    while (((t_int32)1 << c) < n)
        c++;
    return c;
}

static void arcs_reset(t_echoseq *x)
{
    x->arcs_used = 0;
    for (int c = 0; c < ECHOSEQ_ARC_CLASSES; c++)
        x->arcs_free[c] = -1;
    if (x->index && x->index_used > 0)
        memset(x->index, 0, (size_t)x->index_slots * sizeof(t_arc_key));
    x->index_used = 0;
}

// Room for `size` more arcs at the end of the pool; 0 when it cannot grow.
static int arcs_reserve(t_echoseq *x, long size)
{
    if ((long)x->arcs_capacity - x->arcs_used >= size)
        return 1;
    long want = x->arcs_capacity ? 2L * x->arcs_capacity : 1024L;
    while (want - x->arcs_used < size)
        want *= 2;
    if (want > INT_MAX / 2)
        return 0;
    t_arc *grown = x->arcs ? (t_arc *)sysmem_resizeptr(x->arcs, (t_ptr_size)want * sizeof(t_arc))
                           : (t_arc *)sysmem_newptr((t_ptr_size)want * sizeof(t_arc));
    if (!grown)
        return 0;
    x->arcs = grown;
    x->arcs_capacity = (t_int32)want;
    return 1;
}

// Offset of a free block of 2^c arcs, or -1 when the pool cannot grow.
static t_int32 arcs_block_new(t_echoseq *x, int c)
{
    if (c >= ECHOSEQ_ARC_CLASSES)
        return -1;
    if (x->arcs_free[c] >= 0) {
        t_int32 off = x->arcs_free[c];
        x->arcs_free[c] = x->arcs[off].dest;  // a free block keeps the next free one in its first arc
        return off;
    }
    const long size = 1L << c;
    if (!arcs_reserve(x, size))
        return -1;
    t_int32 off = x->arcs_used;
    x->arcs_used += (t_int32)size;
    return off;
}

static void arcs_block_free(t_echoseq *x, t_int32 off, int c)
{
    x->arcs[off].dest = x->arcs_free[c];
    x->arcs_free[c] = off;
}

// Slot of (state, symbol) in a table of 2^bits slots: the top bits of a mixed key, so that slots
// keep hash order and doubling the table moves each entry to about twice its slot, which makes
// the rebuild a near-sequential pass instead of scattered writes.
static inline t_uint32 index_slot(t_int32 state, t_int32 sym, int bits)
{
    t_uint64 h = ((t_uint64)(t_uint32)state << 32) | (t_uint32)sym;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    return (t_uint32)(h >> (64 - bits));
}

static void index_put(t_arc_key *slots, int bits, t_int32 state, t_int32 sym, t_int32 dest)
{
    t_uint32 mask = ((t_uint32)1 << bits) - 1u;
    t_uint32 i = index_slot(state, sym, bits);
    while (slots[i].dest != 0)
        i = (i + 1u) & mask;
    slots[i].state = state;
    slots[i].val = sym;
    slots[i].dest = dest;
}

static t_int32 index_find(const t_echoseq *x, t_int32 state, t_int32 sym)
{
    t_uint32 mask = (t_uint32)x->index_slots - 1u;
    t_uint32 i = index_slot(state, sym, x->index_bits);
    for (;;) {
        const t_arc_key *e = &x->index[i];
        if (e->dest == 0)
            return 0;
        if (e->state == state && e->val == sym)
            return e->dest;
        i = (i + 1u) & mask;
    }
}

// Room for `extra` more entries at a load of at most one half; 0 when the index cannot grow.
static int index_reserve(t_echoseq *x, t_int32 extra)
{
    long need = 2L * ((long)x->index_used + extra);
    if (need <= x->index_slots)
        return 1;
    int bits = x->index_slots ? x->index_bits + 1 : 6;
    while ((1L << bits) < need)
        bits++;
    const long slots = 1L << bits;
    if (slots > INT_MAX / 2)
        return 0;
    t_arc_key *grown = (t_arc_key *)sysmem_newptrclear((t_ptr_size)slots * sizeof(t_arc_key));
    if (!grown)
        return 0;
    for (t_int32 i = 0; i < x->index_slots; i++) {
        const t_arc_key *e = &x->index[i];
        if (e->dest != 0)
            index_put(grown, bits, e->state, e->val, e->dest);
    }
    if (x->index)
        sysmem_freeptr(x->index);
    x->index = grown;
    x->index_slots = (t_int32)slots;
    x->index_bits = bits;
    return 1;
}

// ------------------------------------------------------------------------------------------------
// Oracle construction
// ------------------------------------------------------------------------------------------------

t_noeud *noeud_new(t_echoseq *x, t_int32 index)
{
    if (!x->nodes || index < 0 || index >= x->capacity)
        return NULL;
    // Reset in place: a node left from before a "clear" is recycled without reallocating.
    t_noeud *nd = &x->nodes[index];
    nd->ref = -1;
    nd->lrs = 0;
    nd->val = 0;
    nd->first = 0;
    nd->narcs = 0;
    return nd;
}

t_arc *arc_new(t_echoseq *x, t_int32 state, t_int32 target, t_int32 sym)
{
    t_int32 n = x->nodes[state].narcs;
    // Reserve index room first, so that a failure leaves the state as it was.
    if (n >= ECHOSEQ_SCAN_ARCS && !index_reserve(x, n == ECHOSEQ_SCAN_ARCS ? n + 1 : 1))
        return NULL;
    if (n > 0 && (n & (n - 1)) == 0 && x->nodes[state].first + n == x->arcs_used) {
        // The full block is the last one in the pool (as for a state that takes most new symbols):
        // it doubles in place, without a copy.
        if (!arcs_reserve(x, n))
            return NULL;
        x->arcs_used += n;
    } else if (n == 0 || (n & (n - 1)) == 0) {  // the block is full (or there is none): move it
        int c = n == 0 ? 0 : block_class(n) + 1;
        t_int32 off = arcs_block_new(x, c);
        if (off < 0)
            return NULL;
        if (n > 0) {
            memcpy(x->arcs + off, x->arcs + x->nodes[state].first, (size_t)n * sizeof(t_arc));
            arcs_block_free(x, x->nodes[state].first, c - 1);
        }
        x->nodes[state].first = off;
    }
    t_noeud *nd = &x->nodes[state];
    t_arc *a = &x->arcs[nd->first + n];
    a->dest = target;
    a->val = sym;
    nd->narcs = n + 1;
    if (n == ECHOSEQ_SCAN_ARCS) {  // the list just became long: index all of it
        for (t_int32 i = 0; i <= n; i++) {
            const t_arc *b = &x->arcs[nd->first + i];
            index_put(x->index, x->index_bits, state, b->val, b->dest);
        }
        x->index_used += n + 1;
    } else if (n > ECHOSEQ_SCAN_ARCS) {
        index_put(x->index, x->index_bits, state, sym, target);
        x->index_used++;
    }
    return a;
}

long arc_exist(const t_arc *arc, const t_int32 *sym)
{
    return arc->val == *sym ? 1 : 0;
}

// Target of the transition of state k by sym, or 0 when there is none. k must not be the last
// state, whose `val` is not a transition yet.
t_int32 graf_exist(const t_echoseq *x, t_int32 k, t_int32 sym)
{
    const t_noeud *nd = &x->nodes[k];
    if (nd->val == sym)
        return k + 1;
    if (nd->narcs > ECHOSEQ_SCAN_ARCS)
        return index_find(x, k, sym);
    const t_arc *a = x->arcs + nd->first;
    for (t_int32 i = 0; i < nd->narcs; i++)
        if (arc_exist(&a[i], &sym))
            return a[i].dest;
    return 0;
}

t_int32 common_suffix(const t_noeud *nodes, t_int32 pi1, t_int32 pi2)
{
    t_int32 r1 = nodes[pi1].ref;
    if (pi2 == r1)
        return nodes[pi1].lrs;
    // The chain of pi2 meets r1 in a well-formed oracle; stopping at state 0 keeps a damaged one
    // (an arc that could not be made) from ever reading state -1.
    while (pi2 > 0 && nodes[pi2].ref != r1)
        pi2 = nodes[pi2].ref;
    return nodes[pi1].lrs < nodes[pi2].lrs ? nodes[pi1].lrs : nodes[pi2].lrs;
}

t_int32 repeated_suffix(const t_noeud *nodes, t_int32 pi, t_int32 s)
{
    if (s == 0)
        return 0;
    return common_suffix(nodes, pi, s - 1) + 1;
}

void fill_result(t_echoseq *x, long length, t_int32 end)
{
    if (!x->result || length > ECHOSEQ_MAX_SLICE || length < 1 || length > end)
        return;
    atomarray_clear(x->result);
    for (long i = 0; i < length; i++) {
        t_atom a;
        atom_setlong(&a, x->nodes[end - length + i].val);
        atomarray_appendatom(x->result, &a);
    }
    x->result_ready = 1;
}

void graf_add(t_echoseq *x, t_int32 sym)
{
    const t_int32 n = x->count;
    if (x->capacity == n) {
        t_noeud *grown = (t_noeud *)sysmem_resizeptrclear(x->nodes, 2 * (t_ptr_size)x->capacity * sizeof(t_noeud));
        if (grown) {
            x->nodes = grown;
            x->capacity *= 2;
        }
    }
    if (x->capacity <= n || !noeud_new(x, n))
        return;

    t_noeud *nodes = x->nodes;  // arcs live elsewhere, so this stays valid below
    nodes[n - 1].val = sym;
    t_int32 pi = n - 1;
    t_int32 k = nodes[n - 1].ref;
    t_int32 s = 0;
    while (k > -1) {
        s = graf_exist(x, k, sym);
        if (s != 0)
            break;
        arc_new(x, k, n, sym);  // an arc that cannot be made is left out; learning goes on
        pi = k;
        k = nodes[k].ref;
    }
    nodes[n].ref = s;
    nodes[n].lrs = repeated_suffix(nodes, pi, s);

    if (x->slice == 1) {
        if (nodes[n].lrs < x->last_lrs && x->last_lrs >= x->threshold)
            fill_result(x, x->last_lrs, nodes[n - 1].ref);
    } else if (x->slice == 2) {
        if (nodes[n].lrs >= x->threshold)
            fill_result(x, x->threshold, nodes[n].ref);
    }
    x->last_lrs = nodes[n].lrs;
    relaxed_set(&x->count, n + 1);
}

void graf_clear(t_echoseq *x)
{
    noeud_new(x, 0);
    arcs_reset(x);  // every block belonged to the states being forgotten
    relaxed_set(&x->count, 1);
    x->position = 0;
    x->last_lrs = 0;
}

// ------------------------------------------------------------------------------------------------
// Improvising walk
// ------------------------------------------------------------------------------------------------

t_int32 graf_step(t_echoseq *x)
{
    const int r = rand() % 100;
    if (x->position == x->count - 1)
        x->position = 0;
    if (x->straight < r) {
        t_noeud *nd = &x->nodes[x->position];
        if (nd->narcs > 0) {
            // Move a random arc to the front and take it; the list keeps its new order.
            t_arc *a = x->arcs + nd->first;
            if (nd->narcs > 1) {
                t_int32 i = draw_below(nd->narcs);
                t_arc t = a[0];
                a[0] = a[i];
                a[i] = t;
            }
            x->position = a[0].dest;
            return a[0].val;
        }
        if (nd->lrs > x->lrs)
            x->position = nd->ref;
    }
    return x->nodes[x->position++].val;
}

const t_arc *echoseq_arcs(const t_echoseq *x, t_int32 state)
{
    const t_noeud *nd = &x->nodes[state];
    return nd->narcs > 0 ? x->arcs + nd->first : NULL;
}

size_t echoseq_bytes(const t_echoseq *x)
{
    return (size_t)x->capacity * sizeof(t_noeud) + (size_t)x->arcs_capacity * sizeof(t_arc) +
           (size_t)x->index_slots * sizeof(t_arc_key);
}

// ------------------------------------------------------------------------------------------------
// Handlers
// ------------------------------------------------------------------------------------------------

void echoseq_bang(t_echoseq *x)
{
    if (relaxed_get(&x->count) <= 1) {
        outlet_bang(x->out_bang);
        return;
    }
    systhread_mutex_lock(x->mutex);
    // A "clear" may have run since the test above.
    const int empty = x->count <= 1;
    const t_int32 sym = empty ? 0 : graf_step(x);
    systhread_mutex_unlock(x->mutex);
    if (empty)
        outlet_bang(x->out_bang);
    else
        outlet_int(x->out_int, sym);
}

void echoseq_int(t_echoseq *x, t_atom_long n)
{
    t_atom slice[ECHOSEQ_MAX_SLICE];
    long len = 0;
    if (systhread_mutex_trylock(x->mutex) != 0)
        return;  // busy: the symbol is dropped; a slice never outlives the lock that made it
    if (n >= INT32_MIN && n <= INT32_MAX && x->count <= ECHOSEQ_MAX_SYMBOLS)
        graf_add(x, (t_int32)n);
    if (x->result_ready) {
        // Copied under the mutex, so another thread's "int" cannot change it while it is sent.
        long ac = 0;
        t_atom *av = NULL;
        atomarray_getatoms(x->result, &ac, &av);
        len = ac < ECHOSEQ_MAX_SLICE ? ac : ECHOSEQ_MAX_SLICE;
        if (len > 0)
            memcpy(slice, av, (size_t)len * sizeof(t_atom));
        x->result_ready = 0;
    }
    systhread_mutex_unlock(x->mutex);
    if (len > 0)
        outlet_list(x->out_list, NULL, (short)len, slice);
}

void echoseq_clear(t_echoseq *x)
{
    systhread_mutex_lock(x->mutex);
    graf_clear(x);
    systhread_mutex_unlock(x->mutex);
}

void echoseq_go(t_echoseq *x, t_atom_long n)
{
    if (systhread_mutex_trylock(x->mutex) != 0)
        return;
    if (n >= 0 && n < (t_atom_long)x->count - 1)
        x->position = (t_int32)n;
    systhread_mutex_unlock(x->mutex);
}

// What a dump prints, copied under the mutex and posted after it is released.
typedef struct _dump_state {
    t_int32 ref;
    t_int32 lrs;
    t_int32 narcs;
} t_dump_state;

void echoseq_dump(t_echoseq *x, t_atom_long n)
{
    if (relaxed_swap(&x->dump_busy, 1))
        return;

    t_dump_state states[ECHOSEQ_DUMP_STATES];
    t_arc *arcs = NULL;
    long first = 0, last = 0, total = 0;

    systhread_mutex_lock(x->mutex);
    const long count = x->count;
    const long lrs = x->lrs;
    const long straight = x->straight;
    // A negative first state prints from state 0.
    first = n < 0 ? 0 : (n < count ? (long)n : count);
    last = count - first > ECHOSEQ_DUMP_STATES ? first + ECHOSEQ_DUMP_STATES : count;
    for (long i = first; i < last; i++)
        total += x->nodes[i].narcs;
    if (total > 0) {
        arcs = (t_arc *)sysmem_newptr((t_ptr_size)total * sizeof(t_arc));
        if (!arcs)
            last = first;  // no room for the copy: the summary only
    }
    long at = 0;
    for (long i = first; i < last; i++) {
        const t_noeud *nd = &x->nodes[i];
        states[i - first].ref = nd->ref;
        states[i - first].lrs = nd->lrs;
        states[i - first].narcs = nd->narcs;
        if (nd->narcs > 0) {
            memcpy(arcs + at, x->arcs + nd->first, (size_t)nd->narcs * sizeof(t_arc));
            at += nd->narcs;
        }
    }
    systhread_mutex_unlock(x->mutex);

    post("Nb de noeuds : %ld / lrs : %ld / straight : %ld", count, lrs, straight);
    at = 0;
    for (long i = first; i < last; i++) {
        const t_dump_state *st = &states[i - first];
        post("Noeud %ld : ref %ld lrs %ld", i, (long)st->ref, (long)st->lrs);
        for (t_int32 j = 0; j < st->narcs; j++, at++)
            post("          arc : val %ld dest %ld", (long)arcs[at].val, (long)arcs[at].dest);
    }
    if (arcs)
        sysmem_freeptr(arcs);
    if (x->clock)
        clock_fdelay(x->clock, 1000.);
}

void echoseq_task(t_echoseq *x)
{
    relaxed_set(&x->dump_busy, 0);
}

void echoseq_assist(t_echoseq *x, void *b, long m, long a, char *s)
{
    (void)x;
    (void)b;
    if (m == ASSIST_INLET) {
        sprintf(s, "(bang) (int) (symbol) clear, go, dump_max");
        return;
    }
    switch (a) {
    case 0:
        sprintf(s, "(int)");
        break;
    case 1:
        sprintf(s, "(bang) empty !");
        break;
    case 2:
        sprintf(s, "(list) repeat slice");
        break;
    default:
        break;
    }
}

// ------------------------------------------------------------------------------------------------
// Creation and release
// ------------------------------------------------------------------------------------------------

void *echoseq_new(t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    t_echoseq *x = (t_echoseq *)object_alloc(echoseq_class);
    if (!x)
        return NULL;
    x->nodes = (t_noeud *)sysmem_newptrclear(ECHOSEQ_FIRST_CAPACITY * sizeof(t_noeud));
    if (!x->nodes) {
        object_free(x);
        return NULL;
    }
    x->capacity = ECHOSEQ_FIRST_CAPACITY;
    arcs_reset(x);
    noeud_new(x, 0);
    srand((unsigned)time(0));

    x->count = 1;
    x->position = 0;
    x->last_lrs = 0;
    x->result_ready = 0;
    x->slice = 0;
    x->dump_busy = 0;
    x->lrs = 2;
    x->straight = 20;
    x->threshold = 3;

    x->result = atomarray_new(0, NULL);
    x->clock = clock_new(x, ECHOSEQ_METHOD(echoseq_task));
    x->out_list = listout(x);
    x->out_bang = bangout(x);
    x->out_int = intout(x);
    if (systhread_mutex_new(&x->mutex, 0) != 0 || !x->mutex) {
        x->mutex = NULL;
        object_free(x);
        return NULL;
    }
    attr_args_process(x, (short)argc, argv);
    return x;
}

// Also releases a half-built instance: only what exists is freed.
void echoseq_free(t_echoseq *x)
{
    if (x->nodes)
        sysmem_freeptr(x->nodes);
    if (x->arcs)
        sysmem_freeptr(x->arcs);
    if (x->index)
        sysmem_freeptr(x->index);
    x->nodes = NULL;
    x->arcs = NULL;
    x->index = NULL;
    if (x->result)
        object_free(x->result);
    if (x->clock) {
        clock_unset(x->clock);
        object_free(x->clock);
    }
    if (x->mutex)
        systhread_mutex_free(x->mutex);
}

// ------------------------------------------------------------------------------------------------
// Registration
// ------------------------------------------------------------------------------------------------

typedef struct _echoseq_attr_def {
    const char *name;
    long offset;
    double lo, hi;
} t_echoseq_attr_def;

static void echoseq_setup(void)
{
    if (echoseq_class)
        return;
    t_class *c = class_new("echoseq", ECHOSEQ_METHOD(echoseq_new), ECHOSEQ_METHOD(echoseq_free), (long)sizeof(t_echoseq),
                           NULL, A_GIMME, 0);
    class_addmethod(c, ECHOSEQ_METHOD(echoseq_assist), "assist", A_CANT, 0);
    class_addmethod(c, ECHOSEQ_METHOD(echoseq_bang), "bang", 0);
    class_addmethod(c, ECHOSEQ_METHOD(echoseq_int), "int", A_LONG, 0);
    class_addmethod(c, ECHOSEQ_METHOD(echoseq_clear), "clear", 0);
    class_addmethod(c, ECHOSEQ_METHOD(echoseq_dump), "dump_max", A_DEFLONG, 0);
    class_addmethod(c, ECHOSEQ_METHOD(echoseq_go), "go", A_DEFLONG, 0);
    class_register(CLASS_BOX, c);

    const t_echoseq_attr_def attrs[] = {
        {"lrs", calcoffset(t_echoseq, lrs), 0., 2147483647.},
        {"straight", calcoffset(t_echoseq, straight), 0., 100.},
        {"threshold", calcoffset(t_echoseq, threshold), 1., (double)ECHOSEQ_MAX_SLICE},
        {"slice", calcoffset(t_echoseq, slice), 0., 2.},
    };
    for (const t_echoseq_attr_def &d : attrs)
        class_addattr(c, attr_offset_new(d.name, gensym("long"), 0, NULL, NULL, d.offset));
    for (const t_echoseq_attr_def &d : attrs)
        class_attr_addattr_parse(c, d.name, "save", gensym("long"), 0, "1");
    for (const t_echoseq_attr_def &d : attrs)
        attr_addfilter_clip(class_attr_get(c, gensym(d.name)), d.lo, d.hi, 1, 1);
    class_attr_addattr_parse(c, "slice", "style", gensym("symbol"), 0, "enumindex");
    class_attr_addattr_parse(c, "slice", "enumvals", gensym("atom"), 0, "off maximum threshold");
    class_attr_addattr_parse(c, "lrs", "order", gensym("long"), 0, "1");
    class_attr_addattr_parse(c, "straight", "order", gensym("long"), 0, "2");
    class_attr_addattr_parse(c, "slice", "order", gensym("long"), 0, "3");
    class_attr_addattr_parse(c, "threshold", "order", gensym("long"), 0, "4");

    echoseq_class = c;
}

void ext_main(void *r)
{
    (void)r;
    echoseq_setup();
}

C74_EXPORT int main(void)
{
    echoseq_setup();
    return 0;
}
