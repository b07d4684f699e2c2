// echoseq: a factor oracle over a stream of integer symbols.
//
// Each "int" adds one symbol (state i is made by the i-th symbol), each "bang" sends the next
// symbol of a random walk that goes straight on or jumps through arcs and suffix links, and
// repeated segments of the stream are sent as lists on the right outlet.
//
// Storage: nodes sit inline in one table; the arcs of a state are one contiguous block (2^c arcs,
// one free list per size, in pool segments up to a segment's size, on their own beyond), so a
// state with many arcs costs no list nodes and an arc is picked by index. States with long arc
// lists are also indexed by (state, symbol) in an open-addressing table, so that a stream of ever
// new symbols, which puts almost every arc on state 0, does not scan that list for each symbol.
// Nothing grows by copying everything at once (see "Storage" below).
#include "echoseq.h"
#include "maxlearn_modelfile.h"

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
// Storage. Learning runs on the scheduler, so no symbol may pay for a whole table at once: the
// node table and the arc index grow into a table twice the size a few entries per symbol, arcs
// live in segments that never move, and a long arc list fills its next block ahead of time.
// ------------------------------------------------------------------------------------------------

// Work done per learned symbol on a growing table (entries), arc list (arcs) and arc index (slots
// per entry added). Each finishes well before the old table or block is full.
static const t_int32 kNodesPerSymbol = 8;
static const t_int32 kArcsPerArc = 4;
static const t_int32 kSlotsPerEntry = 16;

static const t_int32 kSegmentMask = ECHOSEQ_SEGMENT_ARCS - 1;

// Size class of the block that holds n arcs (n >= 1): the smallest c with 2^c >= n.
static int block_class(t_int32 n)
{
    int c = 0;
    while (((t_int32)1 << c) < n)
        c++;
    return c;
}

static inline t_arc *pool_at(const t_echoseq *x, t_int32 off)
{
    return x->segments[off >> ECHOSEQ_SEGMENT_BITS] + (off & kSegmentMask);
}

// The arcs of a state that has some.
static inline t_arc *arcs_of(const t_echoseq *x, const t_noeud *nd)
{
    return nd->narcs > ECHOSEQ_SEGMENT_ARCS ? x->lists[nd->first].arcs : pool_at(x, nd->first);
}

// A table given up while learning, for the main thread to free (at once without the queue).
static void retire(t_echoseq *x, void *block)
{
    if (!x->release) {
        sysmem_freeptr(block);
        return;
    }
    memcpy(block, &x->retired, sizeof(void *));
    x->retired = block;
    qelem_set(x->release);
}

static void free_retired(void *block)
{
    while (block) {
        void *next;
        memcpy(&next, block, sizeof(void *));
        sysmem_freeptr(block);
        block = next;
    }
}

// Node writes while a larger table is being filled also go to the entries it already holds.
static inline void node_sync(t_echoseq *x, t_int32 i)
{
    if (x->nodes_next && i < x->nodes_filled)
        x->nodes_next[i] = x->nodes[i];
}

static void nodes_fill(t_echoseq *x, t_int32 count)
{
    const t_int32 end = x->nodes_filled + count < 2 * x->capacity ? x->nodes_filled + count : 2 * x->capacity;
    for (t_int32 i = x->nodes_filled; i < end; i++) {
        if (i < x->capacity)
            x->nodes_next[i] = x->nodes[i];
        else
            memset(&x->nodes_next[i], 0, sizeof(t_noeud));
    }
    x->nodes_filled = end;
}

// Once the oracle reaches half the node table, each symbol fills a few entries of the next table.
static void nodes_grow_step(t_echoseq *x)
{
    if (!x->nodes_next) {
        if (x->count < x->capacity / 2 || x->capacity > ECHOSEQ_MAX_SYMBOLS)
            return;
        x->nodes_next = (t_noeud *)sysmem_newptr(2 * (t_ptr_size)x->capacity * sizeof(t_noeud));
        x->nodes_filled = 0;
        if (!x->nodes_next)
            return;  // tried again with the next symbol
    }
    nodes_fill(x, kNodesPerSymbol);
}

// The full table gives way to the filled one; 0 when there is none (no memory).
static int nodes_switch(t_echoseq *x)
{
    if (!x->nodes_next) {
        x->nodes_next = (t_noeud *)sysmem_newptr(2 * (t_ptr_size)x->capacity * sizeof(t_noeud));
        x->nodes_filled = 0;
        if (!x->nodes_next)
            return 0;
    }
    nodes_fill(x, 2 * x->capacity);  // nothing left unless an allocation failed earlier
    retire(x, x->nodes);
    x->nodes = x->nodes_next;
    x->capacity *= 2;
    x->nodes_next = NULL;
    return 1;
}

static void pool_block_free(t_echoseq *x, t_int32 off, int c)
{
    pool_at(x, off)->dest = x->arcs_free[c];  // a free block keeps the next free one in its first arc
    x->arcs_free[c] = off;
}

// Offset of a free pool block of 2^c arcs (c up to ECHOSEQ_SEGMENT_BITS), or -1 without memory.
static t_int32 pool_block_new(t_echoseq *x, int c)
{
    if (x->arcs_free[c] >= 0) {
        const t_int32 off = x->arcs_free[c];
        x->arcs_free[c] = pool_at(x, off)->dest;
        return off;
    }
    const t_int32 size = (t_int32)1 << c;
    t_int32 room = ECHOSEQ_SEGMENT_ARCS - (x->arcs_used & kSegmentMask);
    if (room < size) {  // blocks never straddle segments: the rest of this one goes to the free lists
        t_int32 off = x->arcs_used;
        x->arcs_used += room;
        while (room > 0) {
            const int piece = block_class(room + 1) - 1;  // the largest 2^piece <= room
            pool_block_free(x, off, piece);
            off += (t_int32)1 << piece;
            room -= (t_int32)1 << piece;
        }
    }
    const t_int32 segment = x->arcs_used >> ECHOSEQ_SEGMENT_BITS;
    if (segment >= x->segments_count) {  // segments stay allocated through "clear"
        if (x->segments_count >= (INT_MAX >> ECHOSEQ_SEGMENT_BITS) - 1)
            return -1;
        if (x->segments_count == x->segments_slots) {
            const t_int32 slots = x->segments_slots ? 2 * x->segments_slots : 16;
            t_arc **grown = (t_arc **)sysmem_resizeptr(x->segments, (t_ptr_size)slots * sizeof(t_arc *));
            if (!grown)
                return -1;
            x->segments = grown;
            x->segments_slots = slots;
        }
        t_arc *seg = (t_arc *)sysmem_newptr(ECHOSEQ_SEGMENT_ARCS * sizeof(t_arc));
        if (!seg)
            return -1;
        x->segments[x->segments_count++] = seg;
    }
    const t_int32 off = x->arcs_used;
    x->arcs_used += size;
    return off;
}

static_assert(sizeof(t_arc) >= sizeof(t_arc *), "a free long block keeps the next one in its first arc");
// Those bytes are copied through void *: the size copied is a pointer's, not an arc's.

// A block of 2^c arcs longer than a segment, or NULL without memory.
static t_arc *long_block_new(t_echoseq *x, int c)
{
    t_arc *b = x->blocks_free[c];
    if (b) {
        memcpy(&x->blocks_free[c], (const void *)b, sizeof(t_arc *));
        return b;
    }
    const t_ptr_size bytes = ((t_ptr_size)1 << c) * sizeof(t_arc);
    b = (t_arc *)sysmem_newptr(bytes);
    if (b)
        x->blocks_bytes += bytes;
    return b;
}

static void long_block_free(t_echoseq *x, t_arc *b, int c)
{
    memcpy((void *)b, &x->blocks_free[c], sizeof(t_arc *));
    x->blocks_free[c] = b;
}

// Slot of (state, symbol) in a table of 2^bits slots: the top bits of a mixed key, so that slots
// keep hash order and growing the table moves each entry to about twice its slot, which makes the
// move a near-sequential pass instead of scattered writes.
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

static t_int32 index_probe(const t_arc_key *slots, int bits, t_int32 state, t_int32 sym)
{
    t_uint32 mask = ((t_uint32)1 << bits) - 1u;
    t_uint32 i = index_slot(state, sym, bits);
    for (;;) {
        const t_arc_key *e = &slots[i];
        if (e->dest == 0)
            return 0;
        if (e->state == state && e->val == sym)
            return e->dest;
        i = (i + 1u) & mask;
    }
}

// Moved entries stay in the old table too, so a lookup that misses the new table may try the old
// one. Slots below index_moved end right after an empty slot, so an entry whose old home slot lies
// below it has moved, and the old table need not be read.
static t_int32 index_find(const t_echoseq *x, t_int32 state, t_int32 sym)
{
    t_int32 dest = index_probe(x->index, x->index_bits, state, sym);
    if (dest == 0 && x->index_old && (t_int32)index_slot(state, sym, x->index_bits - 1) >= x->index_moved)
        dest = index_probe(x->index_old, x->index_bits - 1, state, sym);
    return dest;
}

// Moves at least `budget` slots of the old table, stopping just after an empty one.
static void index_move(t_echoseq *x, long budget)
{
    const t_int32 old_slots = x->index_slots / 2;
    const long stop = x->index_moved + budget;
    t_int32 i = x->index_moved;
    while (i < old_slots) {
        const t_arc_key *e = &x->index_old[i++];
        if (e->dest != 0)
            index_put(x->index, x->index_bits, e->state, e->val, e->dest);
        else if (i >= stop)
            break;
    }
    x->index_moved = i;
    if (i == old_slots) {
        retire(x, x->index_old);
        x->index_old = NULL;
    }
}

// Zeroes a few more slots of the next table (2 * index_slots slots).
static void index_clear_step(t_echoseq *x, long count)
{
    const long slots = 2L * x->index_slots;
    const long end = x->index_cleared + count < slots ? x->index_cleared + count : slots;
    memset(x->index_next + x->index_cleared, 0, (size_t)(end - x->index_cleared) * sizeof(t_arc_key));
    x->index_cleared = (t_int32)end;
}

// Room for `extra` more entries at a load of at most one half; 0 when the index cannot grow. From a
// load of 3/8 on, the next table is zeroed a little per entry, so that it is ready at one half;
// then the entries move into it a little per entry.
static int index_reserve(t_echoseq *x, t_int32 extra)
{
    const long work = (long)kSlotsPerEntry * extra;
    if (x->index_old)
        index_move(x, work);
    const long used = (long)x->index_used + extra;
    // A table of 2 * ECHOSEQ_MAX_SYMBOLS slots holds every arc an oracle can have.
    if (!x->index_old && !x->index_next && x->index_slots && 8 * used > 3L * x->index_slots &&
        x->index_slots < 2L * ECHOSEQ_MAX_SYMBOLS) {
        x->index_next = (t_arc_key *)sysmem_newptr(2 * (t_ptr_size)x->index_slots * sizeof(t_arc_key));
        x->index_cleared = 0;  // without memory, tried again with the next entry
    }
    if (x->index_next)
        index_clear_step(x, 2 * work);
    if (2 * used <= x->index_slots)
        return 1;

    if (x->index_old)
        index_move(x, x->index_slots);  // not reached: the move ends long before the table fills
    t_arc_key *grown = x->index_next;
    if (grown) {
        index_clear_step(x, 2L * x->index_slots);  // nothing left unless an allocation failed
    } else {
        const long slots = x->index_slots ? 2L * x->index_slots : 64;
        if (2 * used > slots || slots > INT_MAX / 2)
            return 0;
        grown = (t_arc_key *)sysmem_newptrclear((t_ptr_size)slots * sizeof(t_arc_key));
        if (!grown)
            return 0;
    }
    x->index_old = x->index;  // NULL for the first table
    x->index_moved = 0;
    x->index_next = NULL;
    x->index = grown;
    x->index_bits = x->index_slots ? x->index_bits + 1 : 6;
    x->index_slots = (t_int32)1 << x->index_bits;
    return 1;
}

// Forgets every arc. The pool and the blocks stay for the next stream; the index goes, since
// clearing megabytes would stall the message.
static void arcs_reset(t_echoseq *x)
{
    x->arcs_used = 0;
    for (int c = 0; c < ECHOSEQ_ARC_CLASSES; c++)
        x->arcs_free[c] = -1;
    for (int i = 0; i < ECHOSEQ_LONG_LISTS; i++) {
        t_arc_list *l = &x->lists[i];
        if (l->arcs)
            long_block_free(x, l->arcs, l->size_class);
        if (l->next)
            long_block_free(x, l->next, l->size_class + 1);
        l->arcs = l->next = NULL;
    }
    if (x->index_old)
        retire(x, x->index_old);
    if (x->index)
        retire(x, x->index);
    if (x->index_next)
        retire(x, x->index_next);
    x->index_old = x->index = x->index_next = NULL;
    x->index_moved = x->index_slots = x->index_bits = x->index_used = x->index_cleared = 0;
}

// Adds an arc to a list longer than a segment; 0 without memory.
static int long_list_add(t_echoseq *x, t_arc_list *l, t_int32 n, t_int32 target, t_int32 sym)
{
    const t_int32 size = (t_int32)1 << l->size_class;
    if (n == size) {  // full: the next block takes over
        if (!l->next) {
            l->next = long_block_new(x, l->size_class + 1);
            l->copied = 0;
            if (!l->next)
                return 0;
        }
        memcpy(l->next + l->copied, l->arcs + l->copied, (size_t)(n - l->copied) * sizeof(t_arc));
        long_block_free(x, l->arcs, l->size_class);
        l->arcs = l->next;
        l->next = NULL;
        l->size_class++;
    } else if (!l->next && n >= size / 2 && size <= ECHOSEQ_MAX_SYMBOLS && l->size_class + 1 < ECHOSEQ_ARC_CLASSES) {
        l->next = long_block_new(x, l->size_class + 1);  // without memory, tried again next time
        l->copied = 0;
    }
    l->arcs[n].dest = target;
    l->arcs[n].val = sym;
    if (l->next) {  // arcs from `copied` on, the new one included, are still to copy
        const t_int32 end = l->copied + kArcsPerArc < n + 1 ? l->copied + kArcsPerArc : n + 1;
        memcpy(l->next + l->copied, l->arcs + l->copied, (size_t)(end - l->copied) * sizeof(t_arc));
        l->copied = end;
    }
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
    node_sync(x, index);
    return nd;
}

t_arc *arc_new(t_echoseq *x, t_int32 state, t_int32 target, t_int32 sym)
{
    t_noeud *nd = &x->nodes[state];
    const t_int32 n = nd->narcs;
    // Reserve index room first, so that a failure leaves the state as it was.
    if (n >= ECHOSEQ_SCAN_ARCS && !index_reserve(x, n == ECHOSEQ_SCAN_ARCS ? n + 1 : 1))
        return NULL;
    t_arc *arcs;
    if (n > ECHOSEQ_SEGMENT_ARCS) {
        t_arc_list *l = &x->lists[nd->first];
        if (!long_list_add(x, l, n, target, sym))
            return NULL;
        arcs = l->arcs;
    } else if (n == ECHOSEQ_SEGMENT_ARCS) {  // the list outgrows the segments: a block of its own
        t_int32 slot = 0;
        while (slot < ECHOSEQ_LONG_LISTS && x->lists[slot].arcs)
            slot++;
        if (slot == ECHOSEQ_LONG_LISTS)
            return NULL;  // not reached: too few arcs for another long list
        t_arc_list *l = &x->lists[slot];
        l->arcs = long_block_new(x, ECHOSEQ_SEGMENT_BITS + 1);
        if (!l->arcs)
            return NULL;
        l->size_class = ECHOSEQ_SEGMENT_BITS + 1;  // a free entry has no next block
        memcpy(l->arcs, pool_at(x, nd->first), (size_t)n * sizeof(t_arc));
        pool_block_free(x, nd->first, ECHOSEQ_SEGMENT_BITS);
        nd->first = slot;
        arcs = l->arcs;
        arcs[n].dest = target;
        arcs[n].val = sym;
    } else {
        if (n == 0 || (n & (n - 1)) == 0) {  // the block is full (or there is none): move it
            const int c = n == 0 ? 0 : block_class(n) + 1;
            const t_int32 off = pool_block_new(x, c);
            if (off < 0)
                return NULL;
            if (n > 0) {
                memcpy(pool_at(x, off), pool_at(x, nd->first), (size_t)n * sizeof(t_arc));
                pool_block_free(x, nd->first, c - 1);
            }
            nd->first = off;
        }
        arcs = pool_at(x, nd->first);
        arcs[n].dest = target;
        arcs[n].val = sym;
    }
    nd->narcs = n + 1;
    node_sync(x, state);
    if (n == ECHOSEQ_SCAN_ARCS) {  // the list just became long: index all of it
        for (t_int32 i = 0; i <= n; i++)
            index_put(x->index, x->index_bits, state, arcs[i].val, arcs[i].dest);
        x->index_used += n + 1;
    } else if (n > ECHOSEQ_SCAN_ARCS) {
        index_put(x->index, x->index_bits, state, sym, target);
        x->index_used++;
    }
    return &arcs[n];
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
    if (nd->narcs == 0)
        return 0;
    const t_arc *a = arcs_of(x, nd);
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
    nodes_grow_step(x);
    if (x->capacity == n && !nodes_switch(x))
        return;  // the table cannot grow: the symbol is dropped
    if (!noeud_new(x, n))
        return;

    t_noeud *nodes = x->nodes;  // arcs live elsewhere, so this stays valid below
    nodes[n - 1].val = sym;
    node_sync(x, n - 1);
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
    node_sync(x, n);

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
            t_arc *a = arcs_of(x, nd);
            if (nd->narcs > 1) {
                t_int32 i = draw_below(nd->narcs);
                t_arc t = a[0];
                a[0] = a[i];
                a[i] = t;
                if (nd->narcs > ECHOSEQ_SEGMENT_ARCS) {  // a long list filling its next block
                    t_arc_list *l = &x->lists[nd->first];
                    if (l->next && l->copied > 0)
                        l->next[0] = a[0];
                    if (l->next && i < l->copied)
                        l->next[i] = a[i];
                }
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
    return nd->narcs > 0 ? arcs_of(x, nd) : NULL;
}

size_t echoseq_bytes(const t_echoseq *x)
{
    size_t bytes = (size_t)x->capacity * sizeof(t_noeud);
    if (x->nodes_next)
        bytes += 2 * (size_t)x->capacity * sizeof(t_noeud);
    bytes += (size_t)x->segments_slots * sizeof(t_arc *) + (size_t)x->segments_count * ECHOSEQ_SEGMENT_ARCS * sizeof(t_arc);
    bytes += x->blocks_bytes;
    bytes += (size_t)x->index_slots * sizeof(t_arc_key);
    if (x->index_old)
        bytes += (size_t)(x->index_slots / 2) * sizeof(t_arc_key);
    if (x->index_next)
        bytes += 2 * (size_t)x->index_slots * sizeof(t_arc_key);
    return bytes;
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
            memcpy(arcs + at, arcs_of(x, nd), (size_t)nd->narcs * sizeof(t_arc));
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

void echoseq_qtask_release(t_echoseq *x)
{
    systhread_mutex_lock(x->mutex);
    void *retired = x->retired;
    x->retired = NULL;
    systhread_mutex_unlock(x->mutex);
    free_retired(retired);
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
    x->release = qelem_new(x, ECHOSEQ_METHOD(echoseq_qtask_release));
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

// The oracle's storage; with `release` gone, tables given up go at once.
static void echoseq_storage_release(t_echoseq *x)
{
    if (x->nodes)
        sysmem_freeptr(x->nodes);
    if (x->nodes_next)
        sysmem_freeptr(x->nodes_next);
    x->nodes = x->nodes_next = NULL;
    arcs_reset(x);  // every long block onto the free lists, which are freed next
    free_retired(x->retired);
    x->retired = NULL;
    for (int c = 0; c < ECHOSEQ_ARC_CLASSES; c++) {
        while (x->blocks_free[c]) {
            t_arc *b = x->blocks_free[c];
            memcpy(&x->blocks_free[c], (const void *)b, sizeof(t_arc *));
            sysmem_freeptr(b);
        }
    }
    for (t_int32 i = 0; i < x->segments_count; i++)
        sysmem_freeptr(x->segments[i]);
    if (x->segments)
        sysmem_freeptr(x->segments);
    x->segments = NULL;
    x->segments_count = x->segments_slots = 0;
}

// Also releases a half-built instance: only what exists is freed.
void echoseq_free(t_echoseq *x)
{
    if (x->release) {
        qelem_unset(x->release);
        qelem_free(x->release);
        x->release = NULL;
    }
    echoseq_storage_release(x);
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
// Model files: "write" and "read" keep the oracle in a dictionary file (JSON): every state's
// symbol, suffix link, repeated suffix length and arcs in their current order (the walk reorders
// them), the walk's position and the attributes, as flat arrays. The file work runs on the main
// thread. A write copies the oracle under the mutex and writes the copy after it. A read rebuilds
// the oracle from the symbols in storage of its own, checks that every link, length and arc of the
// file is the one the symbols give, puts the file's arc order in place and swaps the storage in.
// ------------------------------------------------------------------------------------------------

#define ECHOSEQ_FORMAT "maxlearn.echoseq"
#define ECHOSEQ_FILE_VERSION 1

// Storage of an oracle apart from any instance: what the read builds and the old oracle after
// the swap. Only the storage fields are used; a NULL `release` frees given-up tables at once.
static t_echoseq *storage_new(void)
{
    t_echoseq *s = (t_echoseq *)sysmem_newptrclear(sizeof(t_echoseq));
    if (!s)
        return NULL;
    s->nodes = (t_noeud *)sysmem_newptrclear(ECHOSEQ_FIRST_CAPACITY * sizeof(t_noeud));
    if (!s->nodes) {
        sysmem_freeptr(s);
        return NULL;
    }
    s->capacity = ECHOSEQ_FIRST_CAPACITY;
    arcs_reset(s);
    noeud_new(s, 0);
    s->count = 1;
    return s;
}

static void storage_free(t_echoseq *s)
{
    if (!s)
        return;
    echoseq_storage_release(s);
    sysmem_freeptr(s);
}

#define ECHOSEQ_SWAP(a, b, field)        \
    do {                                 \
        auto swapped_ = (a)->field;      \
        (a)->field = (b)->field;         \
        (b)->field = swapped_;           \
    } while (0)

// Exchanges the oracles of a and b (with the mutex of the one in use held).
static void storage_swap(t_echoseq *a, t_echoseq *b)
{
    ECHOSEQ_SWAP(a, b, nodes);
    ECHOSEQ_SWAP(a, b, capacity);
    ECHOSEQ_SWAP(a, b, last_lrs);
    ECHOSEQ_SWAP(a, b, segments);
    ECHOSEQ_SWAP(a, b, segments_count);
    ECHOSEQ_SWAP(a, b, segments_slots);
    ECHOSEQ_SWAP(a, b, arcs_used);
    ECHOSEQ_SWAP(a, b, blocks_bytes);
    ECHOSEQ_SWAP(a, b, index);
    ECHOSEQ_SWAP(a, b, index_slots);
    ECHOSEQ_SWAP(a, b, index_bits);
    ECHOSEQ_SWAP(a, b, index_used);
    ECHOSEQ_SWAP(a, b, index_old);
    ECHOSEQ_SWAP(a, b, index_moved);
    ECHOSEQ_SWAP(a, b, index_next);
    ECHOSEQ_SWAP(a, b, index_cleared);
    ECHOSEQ_SWAP(a, b, nodes_next);
    ECHOSEQ_SWAP(a, b, nodes_filled);
    for (int c = 0; c < ECHOSEQ_ARC_CLASSES; c++) {
        ECHOSEQ_SWAP(a, b, arcs_free[c]);
        ECHOSEQ_SWAP(a, b, blocks_free[c]);
    }
    for (int i = 0; i < ECHOSEQ_LONG_LISTS; i++)
        ECHOSEQ_SWAP(a, b, lists[i]);
    const t_int32 count = a->count;
    relaxed_set(&a->count, b->count);  // "bang" reads it without the mutex
    b->count = count;
}

// The oracle as a write copies it: per state its symbol, suffix link, repeated suffix length and
// arc count, then all arcs in order.
typedef struct _echoseq_copy {
    t_int32 count, position;
    long lrs, straight, threshold, slice;
    t_int32 *fields;  // 4 x count: symbols, links, lengths, arc counts
    t_arc *arcs;
    long arc_total;
} t_echoseq_copy;

// Copies the oracle under the mutex into c (allocated before the lock for the size seen then, and
// again should the oracle have outgrown it meanwhile). 0 without memory.
static int echoseq_capture(t_echoseq *x, t_echoseq_copy *c)
{
    c->fields = NULL;
    c->arcs = NULL;
    for (;;) {
        // An oracle has fewer arcs than states; the margin covers symbols learned meanwhile.
        const long room = (long)relaxed_get(&x->count) + 4096;
        c->fields = (t_int32 *)sysmem_newptr((t_ptr_size)(4 * room) * sizeof(t_int32));
        c->arcs = (t_arc *)sysmem_newptr((t_ptr_size)room * sizeof(t_arc));
        if (!c->fields || !c->arcs)
            return 0;
        systhread_mutex_lock(x->mutex);
        const long count = x->count;
        if (count <= room) {
            c->count = (t_int32)count;
            c->position = x->position;
            c->lrs = x->lrs;
            c->straight = x->straight;
            c->threshold = x->threshold;
            c->slice = x->slice;
            long at = 0;
            for (long i = 0; i < count && at <= room; i++) {
                const t_noeud *nd = &x->nodes[i];
                c->fields[i] = nd->val;
                c->fields[count + i] = nd->ref;
                c->fields[2 * count + i] = nd->lrs;
                c->fields[3 * count + i] = nd->narcs;
                if (nd->narcs > 0 && at + nd->narcs <= room)
                    memcpy(c->arcs + at, arcs_of(x, nd), (size_t)nd->narcs * sizeof(t_arc));
                at += nd->narcs;
            }
            c->arc_total = at;
        }
        systhread_mutex_unlock(x->mutex);
        if (count <= room && c->arc_total <= room)
            return 1;
        sysmem_freeptr(c->fields);
        sysmem_freeptr(c->arcs);
        c->fields = NULL;
        c->arcs = NULL;
    }
}


static int echoseq_append_ints(t_dictionary *d, const char *key, const t_int32 *v, long n)
{
    t_atom *a = (t_atom *)sysmem_newptr((t_ptr_size)(n > 0 ? n : 1) * sizeof(t_atom));
    if (!a)
        return 0;
    for (long i = 0; i < n; i++)
        atom_setlong(a + i, v[i]);
    const t_max_err err = dictionary_appendatoms(d, gensym(key), n, a);
    sysmem_freeptr(a);
    return err == MAX_ERR_NONE;
}

static const char *const echoseq_field_keys[4] = {"symbols", "suffix_links", "repeat_lengths", "arc_counts"};

static t_dictionary *echoseq_dictionary(const t_echoseq_copy *c)
{
    t_dictionary *d = dictionary_new();
    if (!d)
        return NULL;
    const struct {
        const char *key;
        long value;
    } longs[] = {{"version", ECHOSEQ_FILE_VERSION}, {"states", c->count},       {"position", c->position},
                 {"lrs", c->lrs},                   {"straight", c->straight}, {"threshold", c->threshold},
                 {"slice", c->slice}};
    int ok = dictionary_appendsym(d, gensym("format"), gensym(ECHOSEQ_FORMAT)) == MAX_ERR_NONE;
    for (const auto &e : longs)
        ok = ok && dictionary_appendlong(d, gensym(e.key), e.value) == MAX_ERR_NONE;
    for (int f = 0; f < 4; f++)
        ok = ok && echoseq_append_ints(d, echoseq_field_keys[f], c->fields + (long)f * c->count, c->count);
    // Arcs as symbol, target pairs, state by state (t_arc holds dest, then val).
    t_atom *a = ok ? (t_atom *)sysmem_newptr((t_ptr_size)(2 * c->arc_total + 1) * sizeof(t_atom)) : NULL;
    ok = ok && a;
    if (a) {
        for (long i = 0; i < c->arc_total; i++) {
            atom_setlong(a + 2 * i, c->arcs[i].val);
            atom_setlong(a + 2 * i + 1, c->arcs[i].dest);
        }
        ok = dictionary_appendatoms(d, gensym("arcs"), 2 * c->arc_total, a) == MAX_ERR_NONE;
        sysmem_freeptr(a);
    }
    if (!ok) {
        object_free(d);
        return NULL;
    }
    return d;
}

// An array of n integers, each within 32 bits, copied into out and taken out of the dictionary, so
// that its atoms (four times the integers' size) are gone before the oracle is rebuilt. 0 with the
// reason in err.
static int echoseq_take_ints(t_dictionary *d, const char *key, long n, t_int32 *out, char *err)
{
    long argc = 0;
    t_atom *argv = NULL;
    if (!dictionary_hasentry(d, gensym(key))) {
        snprintf(err, ECHOSEQ_ERROR_SIZE, "no \"%s\"", key);
        return 0;
    }
    if (dictionary_getatoms(d, gensym(key), &argc, &argv) != MAX_ERR_NONE || argc != n || (n > 0 && !argv)) {
        snprintf(err, ECHOSEQ_ERROR_SIZE, "\"%s\" holds %ld values, not %ld", key, argc, n);
        return 0;
    }
    for (long i = 0; i < n; i++) {
        if (atom_gettype(argv + i) != A_LONG || atom_getlong(argv + i) < INT32_MIN || atom_getlong(argv + i) > INT32_MAX) {
            snprintf(err, ECHOSEQ_ERROR_SIZE, "\"%s\" value %ld is not a 32-bit integer", key, i);
            return 0;
        }
        out[i] = (t_int32)atom_getlong(argv + i);
    }
    dictionary_deleteentry(d, gensym(key));
    return 1;
}

static t_echoseq *echoseq_model_check(t_dictionary *d, long count, t_int32 *fields, t_int32 **arcs_out, char *err);

// The file's oracle, rebuilt in storage of its own and checked against the file; NULL with the
// reason in err. The settings go to *c (its arrays unused). Takes the arrays out of d.
static t_echoseq *echoseq_model_read(t_dictionary *d, t_echoseq_copy *c, char *err)
{
    long count = 0, position = 0;
    if (!maxlearn_file_format(d, ECHOSEQ_FORMAT, ECHOSEQ_FILE_VERSION, err, ECHOSEQ_ERROR_SIZE))
        return NULL;
    // The attributes' clipping ranges, and at most the states the oracle holds.
    if (!maxlearn_file_long(d, "states", 1, ECHOSEQ_MAX_SYMBOLS + 1, &count, err, ECHOSEQ_ERROR_SIZE) ||
        !maxlearn_file_long(d, "position", 0, count - 1, &position, err, ECHOSEQ_ERROR_SIZE) ||
        !maxlearn_file_long(d, "lrs", 0, 2147483647, &c->lrs, err, ECHOSEQ_ERROR_SIZE) ||
        !maxlearn_file_long(d, "straight", 0, 100, &c->straight, err, ECHOSEQ_ERROR_SIZE) ||
        !maxlearn_file_long(d, "threshold", 1, ECHOSEQ_MAX_SLICE, &c->threshold, err, ECHOSEQ_ERROR_SIZE) ||
        !maxlearn_file_long(d, "slice", 0, 2, &c->slice, err, ECHOSEQ_ERROR_SIZE))
        return NULL;
    c->count = (t_int32)count;
    c->position = (t_int32)position;
    // The states' fields (symbols, links, lengths, arc counts) and the arcs, as 32-bit integers.
    t_int32 *fields = (t_int32 *)sysmem_newptr((t_ptr_size)(4 * count) * sizeof(t_int32));
    if (!fields) {
        snprintf(err, ECHOSEQ_ERROR_SIZE, "no memory for the oracle");
        return NULL;
    }
    t_int32 *arcs = NULL;
    t_echoseq *s = echoseq_model_check(d, count, fields, &arcs, err);
    sysmem_freeptr(fields);
    if (arcs)
        sysmem_freeptr(arcs);
    return s;
}

// The arrays of a file of `count` states into fields and *arcs (allocated here), checked, and the
// oracle rebuilt from them.
static t_echoseq *echoseq_model_check(t_dictionary *d, long count, t_int32 *fields, t_int32 **arcs_out, char *err)
{
    long arc_total = 0;
    for (int f = 0; f < 4; f++)
        if (!echoseq_take_ints(d, echoseq_field_keys[f], count, fields + (long)f * count, err))
            return NULL;
    const t_int32 *symbols = fields, *links = fields + count, *lengths = fields + 2 * count, *arc_counts = fields + 3 * count;
    for (long i = 0; i < count; i++) {
        const t_int32 n = arc_counts[i];
        if (n < 0 || n > count - 1 - i) {  // arcs lead to later states
            snprintf(err, ECHOSEQ_ERROR_SIZE, "state %ld has %ld arcs, more than the states after it", i, (long)n);
            return NULL;
        }
        arc_total += (long)n;
    }
    if (arc_total >= count && count > 1) {
        snprintf(err, ECHOSEQ_ERROR_SIZE, "%ld arcs over %ld states: an oracle has fewer arcs than states", arc_total, count);
        return NULL;
    }
    t_int32 *arcs = *arcs_out = (t_int32 *)sysmem_newptr((t_ptr_size)(2 * arc_total + 1) * sizeof(t_int32));
    if (!arcs) {
        snprintf(err, ECHOSEQ_ERROR_SIZE, "no memory for the oracle");
        return NULL;
    }
    if (!echoseq_take_ints(d, "arcs", 2 * arc_total, arcs, err))
        return NULL;
    if (symbols[count - 1] != 0) {
        snprintf(err, ECHOSEQ_ERROR_SIZE, "the last state's symbol is not 0");
        return NULL;
    }

    t_echoseq *s = storage_new();
    t_int32 *seen = (t_int32 *)sysmem_newptrclear((t_ptr_size)count * sizeof(t_int32));
    if (!s || !seen) {
        snprintf(err, ECHOSEQ_ERROR_SIZE, "no memory for the oracle");
        storage_free(s);
        if (seen)
            sysmem_freeptr(seen);
        return NULL;
    }
    for (long i = 0; i + 1 < count; i++)
        graf_add(s, symbols[i]);
    int ok = s->count == count;
    if (!ok)
        snprintf(err, ECHOSEQ_ERROR_SIZE, "no memory for the oracle");
    const t_int32 *arc = arcs;
    for (long i = 0; ok && i < count; i++) {
        const t_noeud *nd = &s->nodes[i];
        const char *wrong = NULL;
        if (links[i] != nd->ref)
            wrong = "its suffix link is";
        else if (lengths[i] != nd->lrs)
            wrong = "its repeated suffix length is";
        else if (arc_counts[i] != nd->narcs)
            wrong = "its arc count is";
        for (t_int32 j = 0; !wrong && j < nd->narcs; j++, arc += 2) {
            const t_int32 sym = arc[0], dest = arc[1];
            // A state's arcs lead to distinct later states, none by the straight symbol.
            if (dest <= i || dest >= count || seen[dest] == i + 1 || sym == nd->val ||
                graf_exist(s, (t_int32)i, sym) != dest)
                wrong = "its arcs are";
            else
                seen[dest] = (t_int32)(i + 1);
        }
        if (wrong) {
            snprintf(err, ECHOSEQ_ERROR_SIZE, "state %ld: %s not what the symbols give", i, wrong);
            ok = 0;
        }
    }
    sysmem_freeptr(seen);
    if (!ok) {
        storage_free(s);
        return NULL;
    }
    // The file's arc order, which the walk's draws depend on.
    arc = arcs;
    for (long i = 0; i < count; i++) {
        const t_noeud *nd = &s->nodes[i];
        if (nd->narcs == 0)
            continue;
        t_arc *a = arcs_of(s, nd);
        for (t_int32 j = 0; j < nd->narcs; j++, arc += 2) {
            a[j].val = arc[0];
            a[j].dest = arc[1];
        }
        if (nd->narcs > ECHOSEQ_SEGMENT_ARCS) {  // a long list filling its next block
            t_arc_list *l = &s->lists[nd->first];
            if (l->next && l->copied > 0)
                memcpy(l->next, a, (size_t)l->copied * sizeof(t_arc));
        }
    }
    return s;
}

// An oracle read, checked and rebuilt: what the swap puts in place.
struct _echoseq_loaded {
    t_echoseq_copy settings;  // its arrays unused
    t_echoseq *oracle;
};

t_echoseq_loaded *echoseq_read_model(t_dictionary *d, char *err)
{
    t_echoseq_loaded *l = (t_echoseq_loaded *)sysmem_newptrclear(sizeof(t_echoseq_loaded));
    if (!l) {
        snprintf(err, ECHOSEQ_ERROR_SIZE, "no memory for the oracle");
        return NULL;
    }
    l->oracle = echoseq_model_read(d, &l->settings, err);
    if (!l->oracle) {
        sysmem_freeptr(l);
        return NULL;
    }
    return l;
}

void echoseq_free_model(t_echoseq_loaded *l)
{
    if (!l)
        return;
    storage_free(l->oracle);
    sysmem_freeptr(l);
}

void echoseq_swap_model(t_echoseq *x, t_echoseq_loaded *l)
{
    t_echoseq_copy *c = &l->settings;
    systhread_mutex_lock(x->mutex);
    const t_echoseq_copy was = {x->count, x->position, x->lrs, x->straight, x->threshold, x->slice, NULL, NULL, 0};
    storage_swap(x, l->oracle);
    x->position = c->position;
    x->lrs = c->lrs;
    x->straight = c->straight;
    x->threshold = c->threshold;
    x->slice = c->slice;
    x->result_ready = 0;
    systhread_mutex_unlock(x->mutex);
    *c = was;
}

static void echoseq_dowrite(t_echoseq *x, t_symbol *s, short argc, t_atom *argv)
{
    (void)argc;
    (void)argv;
    char name[MAX_PATH_CHARS];
    short path = 0;
    if (!maxlearn_file_target((t_object *)x, s, 1, "echoseq.json", name, &path))
        return;
    t_echoseq_copy c;
    t_dictionary *d = NULL;
    if (echoseq_capture(x, &c))
        d = echoseq_dictionary(&c);
    if (c.fields)
        sysmem_freeptr(c.fields);
    if (c.arcs)
        sysmem_freeptr(c.arcs);
    if (!d) {
        object_error((t_object *)x, "cannot write %s: no memory for the file", name);
        return;
    }
    if (maxlearn_file_write_dictionary((t_object *)x, d, name, path, name))
        object_post((t_object *)x, "wrote %ld state%s to %s", (long)c.count, (long)c.count == 1 ? "" : "s", name);
}

static void echoseq_doread(t_echoseq *x, t_symbol *s, short argc, t_atom *argv)
{
    (void)argc;
    (void)argv;
    char name[MAX_PATH_CHARS], err[ECHOSEQ_ERROR_SIZE];
    short path = 0;
    if (!maxlearn_file_target((t_object *)x, s, 0, "echoseq.json", name, &path))
        return;
    t_dictionary *d = maxlearn_file_read_dictionary((t_object *)x, name, path, name);
    if (!d)
        return;
    t_echoseq_loaded *l = echoseq_read_model(d, err);
    object_free(d);
    if (!l) {
        object_error((t_object *)x, "cannot read %s: %s", name, err);
        return;
    }
    const long states = l->settings.count;
    echoseq_swap_model(x, l);
    echoseq_free_model(l);  // the old oracle
    object_post((t_object *)x, "read %ld state%s from %s", states, states == 1 ? "" : "s", name);
}

void echoseq_write(t_echoseq *x, t_symbol *s)
{
    defer_low(x, ECHOSEQ_METHOD(echoseq_dowrite), s, 0, NULL);
}

void echoseq_read(t_echoseq *x, t_symbol *s)
{
    defer_low(x, ECHOSEQ_METHOD(echoseq_doread), s, 0, NULL);
}

// ------------------------------------------------------------------------------------------------
// Registration
// ------------------------------------------------------------------------------------------------

typedef struct _echoseq_attr_def {
    const char *name;
    long offset;
    double lo, hi;
    const char *label;     // what the inspector shows
    const char *category;  // the group it shows it in
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
    class_addmethod(c, ECHOSEQ_METHOD(echoseq_write), "write", A_DEFSYM, 0);
    class_addmethod(c, ECHOSEQ_METHOD(echoseq_read), "read", A_DEFSYM, 0);
    class_register(CLASS_BOX, c);

    const t_echoseq_attr_def attrs[] = {
        {"lrs", calcoffset(t_echoseq, lrs), 0., 2147483647., "Minimum Context", "Improvisation"},
        {"straight", calcoffset(t_echoseq, straight), 0., 100., "Straight Percentage", "Improvisation"},
        {"threshold", calcoffset(t_echoseq, threshold), 1., (double)ECHOSEQ_MAX_SLICE, "Slice Length", "Repeats"},
        {"slice", calcoffset(t_echoseq, slice), 0., 2., "Repeat Slices", "Repeats"},
    };
    for (const t_echoseq_attr_def &d : attrs)
        class_addattr(c, attr_offset_new(d.name, gensym("long"), 0, NULL, NULL, d.offset));
    for (const t_echoseq_attr_def &d : attrs)
        class_attr_addattr_parse(c, d.name, "save", gensym("long"), 0, "1");
    for (const t_echoseq_attr_def &d : attrs)
        attr_addfilter_clip(class_attr_get(c, gensym(d.name)), d.lo, d.hi, 1, 1);
    for (const t_echoseq_attr_def &d : attrs) {
        CLASS_ATTR_LABEL(c, d.name, 0, d.label);
        CLASS_ATTR_CATEGORY(c, d.name, 0, d.category);
    }
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
