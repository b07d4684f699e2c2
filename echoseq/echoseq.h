// echoseq: learns a stream of integer symbols into a factor oracle, improvises by walking it and
// reports the segments of the stream that repeat.
#pragma once

#include "ext.h"
#include "ext_obex.h"
#include "ext_systhread.h"

BEGIN_USING_C_LINKAGE

// At most this many symbols are learned (the oracle then holds one more state).
#define ECHOSEQ_MAX_SYMBOLS 262143
// Node table entries at creation; the table doubles when full, from a larger table filled a few
// entries per symbol while the oracle grows through the second half of the current one.
#define ECHOSEQ_FIRST_CAPACITY 1024
// Longest repeat slice sent on the right outlet.
#define ECHOSEQ_MAX_SLICE 256
// States printed by one dump_max.
#define ECHOSEQ_DUMP_STATES 50
// Arc lists longer than this are also indexed by symbol in the instance's arc index.
#define ECHOSEQ_SCAN_ARCS 16
// Size classes of arc blocks: a block of class c holds 2^c arcs.
#define ECHOSEQ_ARC_CLASSES 20
// Arc pool segments hold 2^ECHOSEQ_SEGMENT_BITS arcs and never move; blocks up to that size live
// in them, longer arc lists in blocks of their own.
#define ECHOSEQ_SEGMENT_BITS 12
#define ECHOSEQ_SEGMENT_ARCS (1 << ECHOSEQ_SEGMENT_BITS)
// Most states that can hold more arcs than a segment at once (an oracle has fewer arcs than states).
#define ECHOSEQ_LONG_LISTS ((ECHOSEQ_MAX_SYMBOLS >> ECHOSEQ_SEGMENT_BITS) + 1)

// One forward transition.
typedef struct _arc {
    t_int32 dest;  // target state, always later than the state the arc leaves
    t_int32 val;   // the symbol
} t_arc;

// One state. Nodes live inline in the node table; a state's arcs are a block of the arc pool.
typedef struct _noeud {
    t_int32 ref;    // suffix link; -1 for state 0
    t_int32 lrs;    // length of the repeated suffix ending here
    t_int32 val;    // symbol of the straight transition to the next state; 0 on the last state
    t_int32 first;  // while narcs > 0: offset of the arc block in the pool, or for a list longer
                    // than a segment, its entry in the instance's `lists`
    t_int32 narcs;  // arcs, in order of addition until a walk step moves one to the front
} t_noeud;

// Entry of the arc index: (state, symbol) -> target. dest 0 marks a free slot (no arc ends at 0).
typedef struct _arc_key {
    t_int32 state;
    t_int32 val;
    t_int32 dest;
} t_arc_key;

// An arc list longer than a segment. Once it is half full, the block of the next size is filled a
// few arcs per added arc, so that the list never copies a whole block when it outgrows one.
typedef struct _arc_list {
    t_arc *arcs;     // the state's arcs, a block of 2^size_class arcs; NULL for a free entry
    t_arc *next;     // block of twice the size being filled, or NULL
    t_int32 copied;  // arcs already copied into next
    t_int32 size_class;
} t_arc_list;

typedef struct _echoseq {
    t_object ob;
    t_noeud *nodes;             // node table, `capacity` entries; 0 to count - 1 form the oracle
    t_systhread_mutex mutex;    // guards the oracle
    t_atomarray *result;        // pending repeat slice
    t_int32 capacity;
    t_int32 position;           // state whose symbol the walk sends next
    t_int32 count;              // states, state 0 included; read without the mutex by "bang"
    long lrs;                   // attribute: minimum repeated suffix for a suffix-link jump
    long straight;              // attribute: percentage that decides against a jump
    t_int32 last_lrs;           // lrs of the newest state
    long threshold;             // attribute: minimum repeat slice length
    t_int32 result_ready;       // result holds a slice not yet sent
    long slice;                 // attribute: 0 off, 1 maximum, 2 threshold
    t_int32 dump_busy;          // quiet period after a dump; cleared by the clock task
    void *clock;
    void *out_int;
    void *out_bang;
    void *out_list;
    // Arc pool: blocks of 2^c arcs, reused through one free list per size class. Blocks up to a
    // segment live in segments, addressed by pool offset (segment * ECHOSEQ_SEGMENT_ARCS + arc).
    t_arc **segments;           // segment table, `segments_slots` entries of which `segments_count` are made
    t_int32 segments_count;
    t_int32 segments_slots;
    t_int32 arcs_used;          // pool offsets handed out as blocks, free ones included
    t_int32 arcs_free[ECHOSEQ_ARC_CLASSES];  // first free pool block of each class, -1 when none
    t_arc *blocks_free[ECHOSEQ_ARC_CLASSES]; // free blocks longer than a segment, chained by class
    size_t blocks_bytes;        // bytes of the blocks longer than a segment, free ones included
    t_arc_list lists[ECHOSEQ_LONG_LISTS];
    // Arc index for long arc lists: open addressing, linear probing, a power of two slots. It grows
    // into a table twice the size a few slots per insertion; until then lookups also try the old one.
    t_arc_key *index;
    t_int32 index_slots;        // 2^index_bits, or 0 before the first long list
    t_int32 index_bits;
    t_int32 index_used;         // entries in both tables
    t_arc_key *index_old;       // the table being moved into `index` (index_slots / 2 slots), or NULL
    t_int32 index_moved;        // slots of index_old already moved; always just after an empty slot
    t_arc_key *index_next;      // the next table (2 * index_slots slots) while it is being zeroed, or NULL
    t_int32 index_cleared;      // slots of index_next already zeroed
    // Node table growth
    t_noeud *nodes_next;        // table of 2 * capacity entries being filled, or NULL
    t_int32 nodes_filled;       // entries of nodes_next already filled
    // Tables given up while learning are freed on the main thread: freeing megabytes takes longer
    // than a scheduler tick allows.
    void *release;              // qelem running echoseq_qtask_release
    void *retired;              // blocks waiting for it, each holding the next one in its first bytes
} t_echoseq;

extern t_class *echoseq_class;

// Host-facing
void *echoseq_new(t_symbol *s, long argc, t_atom *argv);
void echoseq_free(t_echoseq *x);
void echoseq_assist(t_echoseq *x, void *b, long m, long a, char *s);
void echoseq_bang(t_echoseq *x);
void echoseq_int(t_echoseq *x, t_atom_long n);
void echoseq_clear(t_echoseq *x);
void echoseq_dump(t_echoseq *x, t_atom_long n);
void echoseq_go(t_echoseq *x, t_atom_long n);
void echoseq_task(t_echoseq *x);
void echoseq_qtask_release(t_echoseq *x);
// Model files: queued to the main thread, where the file is written or read and swapped in.
void echoseq_write(t_echoseq *x, t_symbol *s);
void echoseq_read(t_echoseq *x, t_symbol *s);
// The steps of "read", for benchmarks: an oracle read, checked and rebuilt from a dictionary, whose
// arrays it takes out (NULL with the reason in err, ECHOSEQ_ERROR_SIZE bytes), the swap that puts it in place under the
// mutex (it then holds the object's old oracle) and its release.
#define ECHOSEQ_ERROR_SIZE 256
typedef struct _echoseq_loaded t_echoseq_loaded;
t_echoseq_loaded *echoseq_read_model(t_dictionary *d, char *err);
void echoseq_swap_model(t_echoseq *x, t_echoseq_loaded *l);
void echoseq_free_model(t_echoseq_loaded *l);

// Oracle; all run with the mutex held (or before the instance is in use)
t_noeud *noeud_new(t_echoseq *x, t_int32 index);
t_arc *arc_new(t_echoseq *x, t_int32 state, t_int32 target, t_int32 sym);
long arc_exist(const t_arc *arc, const t_int32 *sym);
t_int32 graf_exist(const t_echoseq *x, t_int32 k, t_int32 sym);
void graf_add(t_echoseq *x, t_int32 sym);
t_int32 graf_step(t_echoseq *x);
void graf_clear(t_echoseq *x);
t_int32 repeated_suffix(const t_noeud *nodes, t_int32 pi, t_int32 s);
t_int32 common_suffix(const t_noeud *nodes, t_int32 pi1, t_int32 pi2);
void fill_result(t_echoseq *x, long length, t_int32 end);

// The arcs of a state, in their current order (valid until the oracle changes).
const t_arc *echoseq_arcs(const t_echoseq *x, t_int32 state);
// Bytes held by the oracle's storage (node table, arc pool, arc index).
size_t echoseq_bytes(const t_echoseq *x);

END_USING_C_LINKAGE
