// chainlet: a discrete hidden Markov model over the symbols 0 to 127.
//
// The model (initial distribution, one transition and one emission row per state) lives in
// separate blocks. A "list" runs one scaled Baum-Welch step:
// forward, backward, the gate, the re-estimation and the blend. The passes run over extra
// storage laid out for vector loops (the emission table by symbol, the transposed transition
// matrix, the scaled backward values by step); every sum is taken in the order of the plain
// loops over those blocks, so the results are bit for bit theirs.
//
// Locks: `mutex` marks a training or scoring pass ("list" drops its sequence and
// "vraisemblance" answers 1000.0 when it is taken); `model_mutex` guards the model and is held
// by every reader and writer: the passes, "bang", "clear", the dump snapshot and the lcd colours.
// Nothing is posted or sent while either is held.
//
// "list" and "vraisemblance" run with flush-to-zero set (maxlearn_fpmode.h): the rows of symbols a
// state stops seeing shrink towards 0 list after list, and would otherwise spend many lists in the
// subnormal range, where each operation costs a hundred times more.

#include "chainlet.h"
#include "maxlearn_fpmode.h"
#include "maxlearn_modelfile.h"

#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

t_class *chainlet_class = NULL;

// Handlers go to the host as untyped methods; the detour through void (*)(void) says the cast is
// deliberate.
#define CHAINLET_METHOD(f) ((method)(void (*)(void))(f))

// The passes are compiled once per vector width and the widest one the processor runs is chosen
// at load time; the arithmetic (and so every result) is the same in each.
// ThreadSanitizer cannot run the load-time resolvers of such clones, so its builds take one width.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__) && !defined(__SANITIZE_THREAD__)
#define CHAINLET_KERNEL __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define CHAINLET_KERNEL
#endif

// ---------------------------------------------------------------------------------------------
// Small helpers
// ---------------------------------------------------------------------------------------------

// dump_busy hands the dump buffer from thread to thread: the clock task clears it (release) once
// the printing thread is done with the buffer, and the next dump_max takes it (acquire) before
// writing the buffer again.
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
static t_int32 chainlet_swap(t_int32 *p, t_int32 v) { return (t_int32)_InterlockedExchange((volatile long *)p, (long)v); }
static void chainlet_store(t_int32 *p, t_int32 v) { _InterlockedExchange((volatile long *)p, (long)v); }
#else
static t_int32 chainlet_swap(t_int32 *p, t_int32 v) { return __atomic_exchange_n(p, v, __ATOMIC_ACQ_REL); }
static void chainlet_store(t_int32 *p, t_int32 v) { __atomic_store_n(p, v, __ATOMIC_RELEASE); }
#endif

// The state array, which "dump_max" checks before taking the lock and a "read" replaces under it.
#if defined(_MSC_VER) && !defined(__clang__)
static t_chainlet_state *chainlet_states_now(t_chainlet_state **p) { return *(t_chainlet_state *volatile *)p; }
static void chainlet_states_set(t_chainlet_state **p, t_chainlet_state *v) { *(t_chainlet_state *volatile *)p = v; }
#else
static t_chainlet_state *chainlet_states_now(t_chainlet_state **p) { return __atomic_load_n(p, __ATOMIC_RELAXED); }
static void chainlet_states_set(t_chainlet_state **p, t_chainlet_state *v) { __atomic_store_n(p, v, __ATOMIC_RELAXED); }
#endif

// A real draw from 0 to 1 inclusive.
static double chainlet_unit(void) { return (double)rand() / (double)RAND_MAX; }

// The first index at which the running sum exceeds one real draw, or -1.
static t_int32 chainlet_draw(const double *v, long n)
{
    double u = chainlet_unit();
    double s = 0.0;
    for (long i = 0; i < n; i++) {
        s += v[i];
        if (s > u) return (t_int32)i;
    }
    return -1;
}

static int chainlet_usable(double v) { return v != 0.0 && isfinite(v); }

static long chainlet_dump_rows(long n) { return n < CHAINLET_DUMP_ROWS ? n : CHAINLET_DUMP_ROWS; }

// Pass storage. Vectors of the states are padded with zeros to a multiple of 8 (`pad`), so that
// the kernels run whole vectors; padding lanes hold zeros and are never read back.
static long chainlet_pad(long n) { return (n + 7) & ~7L; }

// In doubles: the transition rows (N x pad), the transposed transition matrix (N x pad), the
// emission table by symbol (128 x pad), the scaled backward values by step
// (CHAINLET_MAX_TRAIN x pad), three vectors of pad (current forward values, sums, unscaled
// values), the emission sums by symbol (128) and the posteriors of one state by step
// (CHAINLET_MAX_TRAIN).
static long chainlet_scratch_size(long n)
{
    const long p = chainlet_pad(n);
    return p * (2 * n + CHAINLET_SYMBOLS + CHAINLET_MAX_TRAIN + 3) + CHAINLET_SYMBOLS + CHAINLET_MAX_TRAIN;
}

typedef struct _chainlet_scratch {
    long pad;
    double *rows;        // [k * pad + j] = a_kj
    double *transposed;  // [j * pad + i] = a_ij
    double *by_symbol;   // [k * pad + i] = b_i(k)
    double *beta_steps;  // [t * pad + i] = scaled beta_t(i)
    double *current;     // pad
    double *sums;        // pad
    double *unscaled;    // pad
    double *symbol_sums; // 128
    double *gamma;       // CHAINLET_MAX_TRAIN
} t_chainlet_scratch;

static t_chainlet_scratch chainlet_scratch(const t_chainlet *x)
{
    const long n = x->state_count;
    t_chainlet_scratch s;
    s.pad = chainlet_pad(n);
    s.rows = x->scratch;
    s.transposed = s.rows + n * s.pad;
    s.by_symbol = s.transposed + n * s.pad;
    s.beta_steps = s.by_symbol + CHAINLET_SYMBOLS * s.pad;
    s.current = s.beta_steps + CHAINLET_MAX_TRAIN * s.pad;
    s.sums = s.current + s.pad;
    s.unscaled = s.sums + s.pad;
    s.symbol_sums = s.unscaled + s.pad;
    s.gamma = s.symbol_sums + CHAINLET_SYMBOLS;
    return s;
}

// Copies the model into the padded tables of the passes: transition rows, their transpose and the
// emission table by symbol.
static void chainlet_tables(const t_chainlet *x, const t_chainlet_scratch *s)
{
    const long n = x->state_count, p = s->pad;
    memset(s->rows, 0, (size_t)(2 * n + CHAINLET_SYMBOLS) * (size_t)p * sizeof(double));
    for (long i = 0; i < n; i++) {
        const double *row = x->states[i].transition;
        const double *em = x->states[i].emission;
        for (long j = 0; j < n; j++) {
            s->rows[i * p + j] = row[j];
            s->transposed[j * p + i] = row[j];
        }
        for (long k = 0; k < CHAINLET_SYMBOLS; k++) s->by_symbol[k * p + i] = em[k];
    }
}

// Every block that the passes need exists.
static int chainlet_complete(const t_chainlet *x)
{
    if (!x->states || !x->initial || !x->initial_estimate || !x->scratch) return 0;
    for (long i = 0; i < x->state_count; i++) {
        const t_chainlet_state *st = x->states + i;
        if (!st->transition || !st->emission || !st->transition_estimate || !st->emission_estimate) return 0;
    }
    return 1;
}

// Estimates start as copies of the model rows, so a row that a sequence never re-estimates blends
// a stochastic vector, not whatever the block held.
static void chainlet_copy_estimates(t_chainlet *x)
{
    const size_t n = (size_t)x->state_count;
    if (x->initial && x->initial_estimate) memcpy(x->initial_estimate, x->initial, n * sizeof(double));
    if (!x->states) return;
    for (size_t i = 0; i < n; i++) {
        t_chainlet_state *st = x->states + i;
        if (st->transition && st->transition_estimate) memcpy(st->transition_estimate, st->transition, n * sizeof(double));
        if (st->emission && st->emission_estimate)
            memcpy(st->emission_estimate, st->emission, CHAINLET_SYMBOLS * sizeof(double));
    }
}

// ---------------------------------------------------------------------------------------------
// Vector kernels of the passes, over padded vectors of `pad` doubles. Each keeps, for every
// output element, the plain loops' order of summation and of multiplication; only independent
// elements run side by side.
// ---------------------------------------------------------------------------------------------

#if defined(__GNUC__)
typedef double t_lanes __attribute__((vector_size(64), aligned(8), may_alias));
#define CHAINLET_LANES 8
// Macros rather than functions: each clone of a kernel must expand them at its own vector width.
#define lanes_load(p) (*(const t_lanes *)(p))
#define lanes_store(p, v) (*(t_lanes *)(p) = (v))
#define lanes_zero() ((t_lanes){0, 0, 0, 0, 0, 0, 0, 0})
#else
typedef double t_lanes;
#define CHAINLET_LANES 1
#define lanes_load(p) (*(p))
#define lanes_store(p, v) (*(p) = (v))
#define lanes_zero() 0.0
#endif

// The kernels keep their sums in registers: a switch on the number of 8-lane blocks (1 to 7 for
// 2 to 50 states) gives each case a constant count. CHAINLET_BLOCKS(body) expands `body` once
// per count, with NB the count.
#if CHAINLET_LANES == 8
#define CHAINLET_BLOCKS(...)                                                                        \
    switch (pad / CHAINLET_LANES) {                                                               \
    case 1: { enum { NB = 1 }; __VA_ARGS__ } break;                                                      \
    case 2: { enum { NB = 2 }; __VA_ARGS__ } break;                                                      \
    case 3: { enum { NB = 3 }; __VA_ARGS__ } break;                                                      \
    case 4: { enum { NB = 4 }; __VA_ARGS__ } break;                                                      \
    case 5: { enum { NB = 5 }; __VA_ARGS__ } break;                                                      \
    case 6: { enum { NB = 6 }; __VA_ARGS__ } break;                                                      \
    default: { enum { NB = 7 }; __VA_ARGS__ } break;                                                     \
    }
#else
#define CHAINLET_BLOCKS(...) for (long block = 0; block < pad; block++) { enum { NB = 1 }; __VA_ARGS__ }
#endif

// One forward step: sums[j] = sum over k of cur[k] * a_kj (k ascending), unscaled[j] = b_j(o) * sums[j].
CHAINLET_KERNEL
static void kernel_forward_step(long n, long pad, const double *rows, const double *cur, const double *emis,
                                double *sums, double *unscaled)
{
#if CHAINLET_LANES == 1
#define CHAINLET_AT(b) (block + (b))
#else
#define CHAINLET_AT(b) ((b) * CHAINLET_LANES)
#endif
    CHAINLET_BLOCKS({
        t_lanes acc[NB];
        for (int b = 0; b < NB; b++) acc[b] = lanes_zero();
        for (long k = 0; k < n; k++) {
            const double a = cur[k];
            const double *row = rows + k * pad;
            for (int b = 0; b < NB; b++) acc[b] += a * lanes_load(row + CHAINLET_AT(b));
        }
        for (int b = 0; b < NB; b++) {
            lanes_store(sums + CHAINLET_AT(b), acc[b]);
            lanes_store(unscaled + CHAINLET_AT(b), lanes_load(emis + CHAINLET_AT(b)) * acc[b]);
        }
    })
}

// One backward step: sums[i] = sum over j of a_ij * next[j] * b_j(o) (j ascending).
CHAINLET_KERNEL
static void kernel_backward_step(long n, long pad, const double *transposed, const double *next, const double *emis,
                                 double *sums)
{
    CHAINLET_BLOCKS({
        t_lanes acc[NB];
        for (int b = 0; b < NB; b++) acc[b] = lanes_zero();
        for (long j = 0; j < n; j++) {
            const double bj = next[j];
            const double ej = emis[j];
            const double *col = transposed + j * pad;
            for (int b = 0; b < NB; b++) acc[b] += lanes_load(col + CHAINLET_AT(b)) * bj * ej;
        }
        for (int b = 0; b < NB; b++) lanes_store(sums + CHAINLET_AT(b), acc[b]);
    })
}

// Transition counts of state i: sums[j] = sum over t of alpha_t(i) * a_ij * b_j(o_{t+1}) * beta_{t+1}(j).
CHAINLET_KERNEL
static void kernel_sigma(long pad, long steps, const double *alpha, const double *row, const t_int32 *seq,
                         const double *by_symbol, const double *beta_steps, double *sums)
{
    CHAINLET_BLOCKS({
        t_lanes acc[NB], r[NB];
        for (int b = 0; b < NB; b++) {
            acc[b] = lanes_zero();
            r[b] = lanes_load(row + CHAINLET_AT(b));
        }
        for (long t = 0; t + 1 < steps; t++) {
            const double a = alpha[t];
            const double *emis = by_symbol + (long)seq[t + 1] * pad;
            const double *next = beta_steps + (t + 1) * pad;
            for (int b = 0; b < NB; b++)
                acc[b] += a * r[b] * lanes_load(emis + CHAINLET_AT(b)) * lanes_load(next + CHAINLET_AT(b));
        }
        for (int b = 0; b < NB; b++) lanes_store(sums + CHAINLET_AT(b), acc[b]);
    })
}

// ---------------------------------------------------------------------------------------------
// Model store
// ---------------------------------------------------------------------------------------------

void stochastic_vecteur(double *v, long n)
{
    if (!v || n <= 0) return;
    const double e = (double)(rand() % 6 + 1);
    double sum = 0.0;
    for (long i = 0; i < n; i++) {
        v[i] = pow(chainlet_unit(), e);
        sum += v[i];
    }
    if (sum == 0.0) {
        // Every draw was 0: the even spread keeps the vector stochastic.
        for (long i = 0; i < n; i++) v[i] = 1.0 / (double)n;
        return;
    }
    for (long i = 0; i < n; i++) v[i] /= sum;
}

void graf_init(t_chainlet *x)
{
    x->states = NULL;
    x->initial = NULL;
    x->initial_estimate = NULL;
    x->sequence = NULL;
    x->coefficients = NULL;
    x->scratch = NULL;
    x->dump_values = NULL;
    x->lcd_colours = NULL;
    x->sequence_length = 0;
    x->sequence_capacity = 0;
    x->step_capacity = 0;
    x->current_state = -1;

    const long n = x->state_count;
    const t_ptr_size row_n = (t_ptr_size)n * sizeof(double);
    const t_ptr_size row_m = CHAINLET_SYMBOLS * sizeof(double);
    x->states = (t_chainlet_state *)sysmem_newptr((t_ptr_size)n * sizeof(t_chainlet_state));
    if (!x->states) return;
    x->initial_estimate = (double *)sysmem_newptr(row_n);
    x->initial = (double *)sysmem_newptr(row_n);
    if (x->initial) stochastic_vecteur(x->initial, n);
    for (long i = 0; i < n; i++) {
        t_chainlet_state *st = x->states + i;
        st->transition_estimate = (double *)sysmem_newptr(row_n);
        st->emission_estimate = (double *)sysmem_newptr(row_m);
        st->transition = (double *)sysmem_newptr(row_n);
        if (st->transition) stochastic_vecteur(st->transition, n);
        st->emission = (double *)sysmem_newptr(row_m);
        if (st->emission) stochastic_vecteur(st->emission, CHAINLET_SYMBOLS);
        st->alpha = NULL;
        st->beta = NULL;
        st->alpha_unscaled = NULL;
    }
    chainlet_copy_estimates(x);
    x->scratch = (double *)sysmem_newptr((t_ptr_size)chainlet_scratch_size(n) * sizeof(double));
    // Sized for the largest model: a "read" may change N while a dump prints from them.
    const long most = CHAINLET_MAX_STATES;
    x->dump_values = (double *)sysmem_newptr((t_ptr_size)(most + chainlet_dump_rows(most) * (most + CHAINLET_SYMBOLS)) *
                                             sizeof(double));
    x->lcd_colours = (unsigned char *)sysmem_newptr((t_ptr_size)most * CHAINLET_SYMBOLS);
}

void graf_clear(t_chainlet *x)
{
    x->current_state = -1;
    x->trained = 0;
    const long n = x->state_count;
    if (x->initial) stochastic_vecteur(x->initial, n);
    if (x->states) {
        for (long i = 0; i < n; i++) {
            t_chainlet_state *st = x->states + i;
            if (st->transition) stochastic_vecteur(st->transition, n);
            if (st->emission) stochastic_vecteur(st->emission, CHAINLET_SYMBOLS);
        }
    }
    chainlet_copy_estimates(x);
}

static void chainlet_release(void *p)
{
    if (p) sysmem_freeptr(p);
}

// Every block of n states, and the array.
static void chainlet_states_release(t_chainlet_state *states, long n)
{
    if (!states) return;
    for (long i = 0; i < n; i++) {
        t_chainlet_state *st = states + i;
        chainlet_release(st->transition);
        chainlet_release(st->emission);
        chainlet_release(st->alpha);
        chainlet_release(st->beta);
        chainlet_release(st->alpha_unscaled);
        chainlet_release(st->transition_estimate);
        chainlet_release(st->emission_estimate);
    }
    sysmem_freeptr(states);
}

void graf_free(t_chainlet *x)
{
    chainlet_release(x->initial);
    chainlet_release(x->initial_estimate);
    chainlet_release(x->sequence);
    chainlet_release(x->coefficients);
    chainlet_release(x->scratch);
    chainlet_release(x->dump_values);
    chainlet_release(x->lcd_colours);
    x->initial = x->initial_estimate = x->coefficients = x->scratch = x->dump_values = NULL;
    x->sequence = NULL;
    x->lcd_colours = NULL;
    chainlet_states_release(x->states, x->state_count);
    x->states = NULL;
    x->sequence_capacity = 0;
    x->step_capacity = 0;
}

// Grows *p to hold `count` items of `size` bytes; the old block stays when that fails.
static int chainlet_grow(void **p, long count, size_t size)
{
    const t_ptr_size bytes = (t_ptr_size)count * (t_ptr_size)size;
    void *q = *p ? sysmem_resizeptr(*p, bytes) : sysmem_newptr(bytes);
    if (!q) return 0;
    *p = q;
    return 1;
}

long graf_init_vecteur(t_chainlet *x, long n, t_atom *argv)
{
    if (n <= 0 || n > CHAINLET_MAX_SCORE || !argv) return 0;
    // Storage only grows: sequences of alternating lengths pay for no allocation.
    if (n > x->sequence_capacity) {
        int ok = chainlet_grow((void **)&x->sequence, n, sizeof(t_int32));
        ok = chainlet_grow((void **)&x->coefficients, n, sizeof(double)) && ok;
        if (!ok) {
            x->sequence_length = 0;
            return 0;
        }
        x->sequence_capacity = (t_int32)n;
    }
    // The per-step values of each state are kept for training lengths only; a longer sequence
    // (scored, never learned) runs its forward pass without them.
    if (n <= CHAINLET_MAX_TRAIN && n > x->step_capacity && x->states) {
        int ok = 1;
        for (long i = 0; i < x->state_count; i++) {
            t_chainlet_state *st = x->states + i;
            ok = chainlet_grow((void **)&st->alpha, n, sizeof(double)) && ok;
            ok = chainlet_grow((void **)&st->beta, n, sizeof(double)) && ok;
            ok = chainlet_grow((void **)&st->alpha_unscaled, n, sizeof(double)) && ok;
        }
        if (!ok) {
            x->sequence_length = 0;
            return 0;
        }
        x->step_capacity = (t_int32)n;
    }
    x->sequence_length = (t_int32)n;
    for (long i = 0; i < n; i++) {
        t_int32 o;
        if (atom_gettype(argv + i) == A_LONG) {
            t_atom_long v = atom_getlong(argv + i);
            o = v <= 0 ? 0 : (v > 126 ? 127 : (t_int32)v);
        } else {
            o = (t_int32)(rand() % CHAINLET_SYMBOLS);
        }
        x->sequence[i] = o;
    }
    return 1;
}

double calculer_coefficient(t_chainlet *x, long t)
{
    if (!x->coefficients || !x->states || t < 0 || t >= x->sequence_length) return 0.0;
    double s = 0.0;
    if (t < x->step_capacity)
        for (long i = 0; i < x->state_count; i++)
            if (x->states[i].alpha_unscaled) s += x->states[i].alpha_unscaled[t];
    const double c = s != 0.0 ? 1.0 / s : 0.0;
    x->coefficients[t] = c;
    return c;
}

// Coefficient of one step from the unscaled values (the same sum as calculer_coefficient).
static double chainlet_scale(long n, const double *unscaled, double *scaled)
{
    double s = 0.0;
    for (long i = 0; i < n; i++) s += unscaled[i];
    const double c = s != 0.0 ? 1.0 / s : 0.0;
    for (long i = 0; i < n; i++) scaled[i] = unscaled[i] * c;
    return c;
}

void calculer_forward(t_chainlet *x)
{
    const long n = x->state_count;
    const long steps = x->sequence_length;
    if (!chainlet_complete(x) || !x->sequence || !x->coefficients || steps <= 0) return;
    const t_chainlet_scratch s = chainlet_scratch(x);
    const long p = s.pad;
    const int keep = steps <= x->step_capacity;
    const t_int32 *seq = x->sequence;
    t_chainlet_state *states = x->states;

    chainlet_tables(x, &s);
    memset(s.current, 0, (size_t)p * sizeof(double));
    const double *emis = s.by_symbol + (long)seq[0] * p;
    for (long i = 0; i < n; i++) s.unscaled[i] = x->initial[i] * emis[i];
    double c = chainlet_scale(n, s.unscaled, s.current);
    x->coefficients[0] = c;
    if (keep)
        for (long i = 0; i < n; i++) {
            states[i].alpha_unscaled[0] = s.unscaled[i];
            states[i].alpha[0] = s.current[i];
        }
    for (long t = 0; t + 1 < steps; t++) {
        emis = s.by_symbol + (long)seq[t + 1] * p;
        kernel_forward_step(n, p, s.rows, s.current, emis, s.sums, s.unscaled);
        c = chainlet_scale(n, s.unscaled, s.current);
        x->coefficients[t + 1] = c;
        if (keep)
            for (long j = 0; j < n; j++) {
                states[j].alpha_unscaled[t + 1] = s.unscaled[j];
                states[j].alpha[t + 1] = s.current[j];
            }
    }
}

void calculer_backward(t_chainlet *x)
{
    const long n = x->state_count;
    const long steps = x->sequence_length;
    if (!chainlet_complete(x) || !x->sequence || !x->coefficients || steps <= 0 || steps > x->step_capacity) return;
    const t_chainlet_scratch s = chainlet_scratch(x);
    const long p = s.pad;
    t_chainlet_state *states = x->states;
    const double last = x->coefficients[steps - 1];
    double *out = s.beta_steps + (steps - 1) * p;
    memset(out, 0, (size_t)p * sizeof(double));
    for (long i = 0; i < n; i++) {
        out[i] = last;
        states[i].beta[steps - 1] = last;
    }
    for (long t = steps - 2; t >= 0; t--) {
        const double *emis = s.by_symbol + (long)x->sequence[t + 1] * p;
        kernel_backward_step(n, p, s.transposed, s.beta_steps + (t + 1) * p, emis, s.sums);
        const double c = x->coefficients[t];
        out = s.beta_steps + t * p;
        memset(out, 0, (size_t)p * sizeof(double));
        for (long i = 0; i < n; i++) {
            out[i] = c * s.sums[i];
            states[i].beta[t] = out[i];
        }
    }
}

double calculer_produit_coefficient(t_chainlet *x)
{
    if (!x->coefficients || x->sequence_length <= 0) return 0.0;
    double p = x->coefficients[0];
    for (long t = 1; t < x->sequence_length; t++) p *= x->coefficients[t];
    return p;
}

double calculer_gamma(t_chainlet *x, long i, long t)
{
    if (!x->states || !x->coefficients || i < 0 || i >= x->state_count || t < 0 || t >= x->sequence_length ||
        t >= x->step_capacity)
        return 0.0;
    const t_chainlet_state *st = x->states + i;
    if (!st->alpha || !st->beta) return 0.0;
    return st->alpha[t] * st->beta[t] / x->coefficients[t];
}

double calculer_sigma(t_chainlet *x, long i, long j)
{
    const long n = x->state_count;
    if (!x->states || !x->sequence || i < 0 || i >= n || j < 0 || j >= n || x->sequence_length > x->step_capacity)
        return 0.0;
    const t_chainlet_state *si = x->states + i;
    const t_chainlet_state *sj = x->states + j;
    if (!si->alpha || !si->transition || !sj->emission || !sj->beta) return 0.0;
    double s = 0.0;
    for (long t = 0; t + 1 < x->sequence_length; t++)
        s += si->alpha[t] * si->transition[j] * sj->emission[x->sequence[t + 1]] * sj->beta[t + 1];
    return s;
}

void calculer_estimation(t_chainlet *x)
{
    const long n = x->state_count;
    const long steps = x->sequence_length;
    if (!chainlet_complete(x) || !x->sequence || !x->coefficients || steps <= 0 || steps > x->step_capacity) return;
    const t_chainlet_scratch s = chainlet_scratch(x);
    const double *c = x->coefficients;

    // A re-estimate is taken only when it is a real distribution: a total that is 0 (nothing to
    // normalise) or not finite (a pass that overflowed) leaves the previous estimate in place.
    int finite = 1;
    for (long i = 0; i < n; i++) {
        s.sums[i] = x->states[i].alpha[0] * x->states[i].beta[0] / c[0];
        finite = finite && isfinite(s.sums[i]);
    }
    if (finite) memcpy(x->initial_estimate, s.sums, (size_t)n * sizeof(double));

    for (long i = 0; i < n; i++) {
        t_chainlet_state *st = x->states + i;
        kernel_sigma(s.pad, steps, st->alpha, s.rows + i * s.pad, x->sequence, s.by_symbol, s.beta_steps, s.sums);
        double total = 0.0;
        for (long j = 0; j < n; j++) total += s.sums[j];
        if (chainlet_usable(total))
            for (long j = 0; j < n; j++) st->transition_estimate[j] = s.sums[j] / total;

        total = 0.0;
        for (long t = 0; t < steps; t++) {
            s.gamma[t] = st->alpha[t] * st->beta[t] / c[t];
            total += s.gamma[t];
        }
        if (chainlet_usable(total)) {
            // Each symbol's sum takes its steps in order, as a scan of the whole sequence per symbol would.
            for (long k = 0; k < CHAINLET_SYMBOLS; k++) s.symbol_sums[k] = 0.0;
            for (long t = 0; t < steps; t++) s.symbol_sums[x->sequence[t]] += s.gamma[t];
            for (long k = 0; k < CHAINLET_SYMBOLS; k++) st->emission_estimate[k] = s.symbol_sums[k] / total;
        }
    }
}

void calculer_apprentissage(t_chainlet *x)
{
    if (!x->states) return;
    const long n = x->state_count;
    const double w = (double)x->apprentissage;
    const double d = w + 1.0;
    if (x->initial && x->initial_estimate)
        for (long i = 0; i < n; i++) x->initial[i] = (w * x->initial[i] + x->initial_estimate[i]) / d;
    for (long i = 0; i < n; i++) {
        t_chainlet_state *st = x->states + i;
        if (st->transition && st->transition_estimate)
            for (long j = 0; j < n; j++) st->transition[j] = (w * st->transition[j] + st->transition_estimate[j]) / d;
        if (st->emission && st->emission_estimate)
            for (long k = 0; k < CHAINLET_SYMBOLS; k++)
                st->emission[k] = (w * st->emission[k] + st->emission_estimate[k]) / d;
    }
}

// ---------------------------------------------------------------------------------------------
// Generation and likelihood
// ---------------------------------------------------------------------------------------------

t_int32 graf_init_step(t_chainlet *x)
{
    t_int32 r = -1;
    if (x->states && x->initial) r = chainlet_draw(x->initial, x->state_count);
    x->current_state = r;
    return r;
}

t_int32 graf_step(t_chainlet *x)
{
    if (!x->states || x->current_state < 0 || x->current_state >= x->state_count) return -1;
    const t_chainlet_state *st = x->states + x->current_state;
    t_int32 symbol = -1;
    if (st->emission) symbol = chainlet_draw(st->emission, CHAINLET_SYMBOLS);
    if (st->transition) {
        t_int32 next = chainlet_draw(st->transition, x->state_count);
        if (next >= 0) x->current_state = next;
    }
    return symbol;
}

double calculer_vraisemblance(t_chainlet *x)
{
    if (!x->coefficients || x->sequence_length <= 0) return 0.0;
    double s = 0.0;
    for (long t = 0; t < x->sequence_length; t++) s += x->coefficients[t];
    // A step below about 5.6e-309 overflows its coefficient, and the steps after it carry inf x 0:
    // a sum that is not finite is as good as impossible.
    return s != 0.0 && isfinite(s) ? 1.0 / s : 0.0;
}

// ---------------------------------------------------------------------------------------------
// Object
// ---------------------------------------------------------------------------------------------

void chainlet_bang(t_chainlet *x)
{
    // Waits for a pass to end rather than losing the bang.
    systhread_mutex_lock(x->model_mutex);
    const t_int32 trained = x->trained;
    t_int32 symbol = -1;
    if (trained) {
        if (x->current_state < 0) graf_init_step(x);
        symbol = graf_step(x);
    }
    systhread_mutex_unlock(x->model_mutex);
    if (!trained)
        outlet_bang(x->bang_outlet);
    else
        outlet_int(x->int_outlet, symbol);
}

void chainlet_list(t_chainlet *x, t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    if (argc > CHAINLET_MAX_TRAIN) return;
    if (argc <= 0 || !argv) return;  // an empty list is ignored
    if (systhread_mutex_trylock(x->mutex) != 0) return;
    systhread_mutex_lock(x->model_mutex);
    t_maxlearn_fpmode fp;
    maxlearn_fpmode_enter(&fp);
    if (chainlet_complete(x) && graf_init_vecteur(x, argc, argv)) {
        calculer_forward(x);
        calculer_backward(x);
        // The gate (a product of exactly 0: an impossible sequence), and a coefficient that is 0 or infinite
        // behind an overflowed product, which would otherwise carry NaN into the model.
        int learn = calculer_produit_coefficient(x) != 0.0;
        for (long t = 0; learn && t < x->sequence_length; t++) learn = chainlet_usable(x->coefficients[t]);
        if (learn) {
            calculer_estimation(x);
            calculer_apprentissage(x);
            x->trained = 1;
        }
    }
    maxlearn_fpmode_leave(&fp);
    systhread_mutex_unlock(x->model_mutex);
    systhread_mutex_unlock(x->mutex);
}

void chainlet_vraisemblance(t_chainlet *x, t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    double score = 0.0;
    // An empty sequence, one longer than any the host delivers, and a busy lock all answer 1000.0.
    if (argc > 0 && argc <= CHAINLET_MAX_SCORE && argv && systhread_mutex_trylock(x->mutex) == 0) {
        systhread_mutex_lock(x->model_mutex);
        t_maxlearn_fpmode fp;
        maxlearn_fpmode_enter(&fp);
        if (chainlet_complete(x) && graf_init_vecteur(x, argc, argv)) {
            calculer_forward(x);
            score = calculer_vraisemblance(x);
        }
        maxlearn_fpmode_leave(&fp);
        systhread_mutex_unlock(x->model_mutex);
        systhread_mutex_unlock(x->mutex);
    }
    outlet_float(x->float_outlet, score == 0.0 ? 1000.0 : -log(score));
}

void chainlet_clear(t_chainlet *x)
{
    systhread_mutex_lock(x->model_mutex);
    graf_clear(x);
    systhread_mutex_unlock(x->model_mutex);
}

void chainlet_int(t_chainlet *x, long n)
{
    (void)x;
    (void)n;
}

void chainlet_task_max(t_chainlet *x) { chainlet_store(&x->dump_busy, 0); }

void chainlet_assist(t_chainlet *x, void *b, long m, long a, char *s)
{
    (void)x;
    (void)b;
    if (!s) return;
    if (m == ASSIST_INLET) {
        snprintf(s, CHAINLET_ASSIST_SIZE, "(bang) (list) (symbol) clear, dump_lcd, dump_max, vraisemblance");
        return;
    }
    static const char *const outlets[] = {"(int)", "(bang)", "(lcd) dump", "(float) - ln vraisemblance"};
    if (a >= 0 && a < 4) snprintf(s, CHAINLET_ASSIST_SIZE, "%s", outlets[a]);
}

void *chainlet_new(t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    t_chainlet *x = (t_chainlet *)object_alloc(chainlet_class);
    if (!x) return NULL;
    srand((unsigned int)time(NULL));

    x->state_count = CHAINLET_DEFAULT_STATES;
    x->symbol_count = CHAINLET_SYMBOLS;
    x->lcd = 150;
    x->apprentissage = 1.0f;
    x->trained = 0;
    x->dump_busy = 0;
    x->current_state = -1;
    x->sequence_length = 0;
    if (argc > 0 && argv && atom_gettype(argv) == A_LONG) {
        t_atom_long v = atom_getlong(argv);
        if (v > 1 && v <= CHAINLET_MAX_STATES) x->state_count = (t_int32)v;
    }

    x->lcd_qelem = qelem_new(x, CHAINLET_METHOD(chainlet_qtask_lcd));
    x->dump_clock = clock_new(x, CHAINLET_METHOD(chainlet_task_max));
    x->float_outlet = floatout(x);
    x->lcd_outlet = outlet_new(x, NULL);
    x->bang_outlet = bangout(x);
    x->int_outlet = intout(x);
    systhread_mutex_new(&x->mutex, 0);
    systhread_mutex_new(&x->model_mutex, 0);
    attr_args_process(x, (short)(argc > SHRT_MAX ? SHRT_MAX : (argc < 0 ? 0 : argc)), argv);
    graf_init(x);
    return x;
}

void chainlet_free(t_chainlet *x)
{
    graf_free(x);
    if (x->mutex) systhread_mutex_free(x->mutex);
    if (x->model_mutex) systhread_mutex_free(x->model_mutex);
    x->mutex = x->model_mutex = NULL;
    if (x->lcd_qelem) {
        qelem_unset(x->lcd_qelem);
        qelem_free(x->lcd_qelem);
    }
    if (x->dump_clock) {
        clock_unset(x->dump_clock);
        object_free(x->dump_clock);
    }
}

// ---------------------------------------------------------------------------------------------
// Reporting
// ---------------------------------------------------------------------------------------------

void chainlet_dumpmax(t_chainlet *x)
{
    if (chainlet_swap(&x->dump_busy, 1) != 0) return;
    if (chainlet_states_now(&x->states)) {
        // The model is copied under the lock and printed after it.
        double *v = x->dump_values;
        char has_initial = 0, has_transition[CHAINLET_DUMP_ROWS] = {0}, has_emission[CHAINLET_DUMP_ROWS] = {0};
        systhread_mutex_lock(x->model_mutex);
        const long n = x->state_count;  // under the lock: a "read" may change it
        const long rows = chainlet_dump_rows(n);
        const long steps = x->sequence_length;
        const double w = (double)x->apprentissage;
        if (v) {
            if (x->initial) {
                has_initial = 1;
                memcpy(v, x->initial, (size_t)n * sizeof(double));
            }
            for (long i = 0; i < rows; i++) {
                const t_chainlet_state *st = x->states + i;
                double *out = v + n + i * (n + CHAINLET_SYMBOLS);
                if (st->transition) {
                    has_transition[i] = 1;
                    memcpy(out, st->transition, (size_t)n * sizeof(double));
                }
                if (st->emission) {
                    has_emission[i] = 1;
                    memcpy(out + n, st->emission, CHAINLET_SYMBOLS * sizeof(double));
                }
            }
        }
        systhread_mutex_unlock(x->model_mutex);

        post("Taille MMC : %ld", (long)n);
        post("Taille vecteur : %ld", (long)steps);
        post("Apprentissage : %f", w);
        if (has_initial)
            for (long i = 0; i < n; i++) post("Initialisation %ld : %f", i, v[i]);
        for (long i = 0; i < rows; i++)
            if (has_transition[i])
                for (long j = 0; j < n; j++) post("Transition %ld %ld : %f", i, j, v[n + i * (n + CHAINLET_SYMBOLS) + j]);
        for (long i = 0; i < rows; i++)
            if (has_emission[i])
                for (long k = 0; k < CHAINLET_SYMBOLS; k++)
                    post("Distribution %ld %ld : %f", i, k, v[n + i * (n + CHAINLET_SYMBOLS) + n + k]);
    }
    if (x->dump_clock) clock_fdelay(x->dump_clock, 1000.0);
}

void chainlet_dumplcd(t_chainlet *x)
{
    if (x->lcd_qelem) qelem_set(x->lcd_qelem);
}

long chainlet_colour(double b)
{
    const float v = (float)(b * 10.0 * 5.0);
    if (v > 1.5) {
        const double r = round(v) + 244.0;
        return r < 255.0 ? (long)r : 255;
    }
    if ((double)v > 0.1) return 245;
    return 0;
}

void chainlet_qtask_lcd(t_chainlet *x)
{
    char has_row[CHAINLET_MAX_STATES] = {0};
    int draw = 0;
    // The size and the attribute under the lock too: a "read" may change them.
    systhread_mutex_lock(x->model_mutex);
    const long n = x->state_count;
    const long lcd = x->lcd;
    if (x->states && x->lcd_colours) {
        draw = 1;
        for (long i = 0; i < n; i++) {
            const double *em = x->states[i].emission;
            if (!em) continue;
            has_row[i] = 1;
            for (long k = 0; k < CHAINLET_SYMBOLS; k++) x->lcd_colours[i * CHAINLET_SYMBOLS + k] = (unsigned char)chainlet_colour(em[k]);
        }
    }
    systhread_mutex_unlock(x->model_mutex);
    const long cw = lcd / CHAINLET_SYMBOLS;
    const long ch = lcd / n;

    t_atom a[5];
    outlet_anything(x->lcd_outlet, gensym("clear"), 0, NULL);
    atom_setlong(a, 3 * CHAINLET_SYMBOLS * cw);
    atom_setlong(a + 1, n * ch);
    outlet_anything(x->lcd_outlet, gensym("size"), 2, a);
    if (!draw) return;
    t_symbol *paintrect = gensym("paintrect");
    for (long i = 0; i < n; i++) {
        if (!has_row[i]) continue;
        for (long k = 0; k < CHAINLET_SYMBOLS; k++) {
            atom_setlong(a, 3 * k * cw);
            atom_setlong(a + 1, i * ch);
            atom_setlong(a + 2, (3 * k + 3) * cw);
            atom_setlong(a + 3, (i + 1) * ch);
            atom_setlong(a + 4, x->lcd_colours[i * CHAINLET_SYMBOLS + k]);
            outlet_anything(x->lcd_outlet, paintrect, 5, a);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Model files: "write" and "read" keep the model in a dictionary file (JSON), with everything a
// later message depends on: the rows and their estimates (a row a sequence cannot re-estimate
// keeps its last estimate), the weight, the generator's state and the length the dump prints.
// The file work runs on the main thread; the model is copied under the lock and written after
// it, or read and checked in full into new blocks that replace the old ones in one step.
// ---------------------------------------------------------------------------------------------

#define CHAINLET_FORMAT "maxlearn.chainlet"
#define CHAINLET_FILE_VERSION 1

// The model as the file holds it. `values` is one block: initial (N), transition (N x N, row by
// row), emission (N x 128), then the three estimates in the same layout.
typedef struct _chainlet_model {
    long states;
    double apprentissage;
    long lcd;
    long trained;
    long current_state;
    long sequence_length;
    double *values;
} t_chainlet_model;

static long chainlet_model_set(long n) { return n + n * n + n * CHAINLET_SYMBOLS; }

static const char *const chainlet_row_keys[6] = {"initial", "transition", "emission",
                                                 "initial_estimate", "transition_estimate", "emission_estimate"};

// Offset and size of block b (0 to 5, in the order of chainlet_row_keys) in `values`.
static long chainlet_block_offset(long n, int b)
{
    static const int part[3] = {0, 1, 2};
    long off = b >= 3 ? chainlet_model_set(n) : 0;
    const int p = part[b % 3];
    if (p >= 1) off += n;
    if (p >= 2) off += n * n;
    return off;
}

static long chainlet_block_size(long n, int b) { return b % 3 == 0 ? n : (b % 3 == 1 ? n * n : n * CHAINLET_SYMBOLS); }

// Copies the rows of the model into v (laid out as `values`); the caller holds model_mutex.
static void chainlet_copy_out(const t_chainlet *x, double *v)
{
    const long n = x->state_count;
    memcpy(v, x->initial, (size_t)n * sizeof(double));
    memcpy(v + chainlet_model_set(n), x->initial_estimate, (size_t)n * sizeof(double));
    for (int e = 0; e < 2; e++) {
        double *set = v + e * chainlet_model_set(n);
        for (long i = 0; i < n; i++) {
            const t_chainlet_state *st = x->states + i;
            memcpy(set + n + i * n, e ? st->transition_estimate : st->transition, (size_t)n * sizeof(double));
            memcpy(set + n + n * n + i * CHAINLET_SYMBOLS, e ? st->emission_estimate : st->emission,
                   CHAINLET_SYMBOLS * sizeof(double));
        }
    }
}

// The model under the lock, into m (values sized for the largest model, allocated before the
// lock). 0 when there is no model to copy.
static int chainlet_capture(t_chainlet *x, t_chainlet_model *m)
{
    m->values = (double *)sysmem_newptr((t_ptr_size)(2 * chainlet_model_set(CHAINLET_MAX_STATES)) * sizeof(double));
    if (!m->values) return 0;
    systhread_mutex_lock(x->model_mutex);
    const int ok = chainlet_complete(x);
    if (ok) {
        m->states = x->state_count;
        m->apprentissage = (double)x->apprentissage;
        m->lcd = x->lcd;
        m->trained = x->trained;
        m->current_state = x->current_state;
        m->sequence_length = x->sequence_length;
        chainlet_copy_out(x, m->values);
    }
    systhread_mutex_unlock(x->model_mutex);
    return ok;
}

static int chainlet_append_reals(t_dictionary *d, const char *key, const double *v, long n)
{
    t_atom *a = (t_atom *)sysmem_newptr((t_ptr_size)n * sizeof(t_atom));
    if (!a) return 0;
    for (long i = 0; i < n; i++) atom_setfloat(a + i, v[i]);
    const t_max_err err = dictionary_appendatoms(d, gensym(key), n, a);
    sysmem_freeptr(a);
    return err == MAX_ERR_NONE;
}

static t_dictionary *chainlet_model_dictionary(const t_chainlet_model *m)
{
    t_dictionary *d = dictionary_new();
    if (!d) return NULL;
    int ok = dictionary_appendsym(d, gensym("format"), gensym(CHAINLET_FORMAT)) == MAX_ERR_NONE;
    ok = ok && dictionary_appendlong(d, gensym("version"), CHAINLET_FILE_VERSION) == MAX_ERR_NONE;
    ok = ok && dictionary_appendlong(d, gensym("states"), m->states) == MAX_ERR_NONE;
    ok = ok && dictionary_appendlong(d, gensym("symbols"), CHAINLET_SYMBOLS) == MAX_ERR_NONE;
    ok = ok && dictionary_appendfloat(d, gensym("apprentissage"), m->apprentissage) == MAX_ERR_NONE;
    ok = ok && dictionary_appendlong(d, gensym("lcd"), m->lcd) == MAX_ERR_NONE;
    ok = ok && dictionary_appendlong(d, gensym("trained"), m->trained) == MAX_ERR_NONE;
    ok = ok && dictionary_appendlong(d, gensym("current_state"), m->current_state) == MAX_ERR_NONE;
    ok = ok && dictionary_appendlong(d, gensym("sequence_length"), m->sequence_length) == MAX_ERR_NONE;
    for (int b = 0; ok && b < 6; b++)
        ok = chainlet_append_reals(d, chainlet_row_keys[b], m->values + chainlet_block_offset(m->states, b),
                                   chainlet_block_size(m->states, b));
    if (!ok) {
        object_free(d);
        return NULL;
    }
    return d;
}

// An array of exactly n finite reals, into v.
static int chainlet_file_reals(const t_dictionary *d, const char *key, long n, double *v, char *err)
{
    long argc = 0;
    t_atom *argv = NULL;
    if (!dictionary_hasentry(d, gensym(key))) {
        snprintf(err, CHAINLET_ERROR_SIZE, "no \"%s\"", key);
        return 0;
    }
    if (dictionary_getatoms(d, gensym(key), &argc, &argv) != MAX_ERR_NONE || argc != n || !argv) {
        snprintf(err, CHAINLET_ERROR_SIZE, "\"%s\" holds %ld values, not %ld", key, argc, n);
        return 0;
    }
    for (long i = 0; i < n; i++)
        if (!maxlearn_file_atom_real(argv + i, v + i)) {
            snprintf(err, CHAINLET_ERROR_SIZE, "\"%s\" value %ld is not a finite number", key, i);
            return 0;
        }
    return 1;
}

// Rows of `width` probabilities: none negative, each summing to 1 within 1e-6.
static int chainlet_stochastic_rows(const char *key, const double *v, long rows, long width, char *err)
{
    for (long r = 0; r < rows; r++) {
        double sum = 0.0;
        for (long k = 0; k < width; k++) {
            if (v[r * width + k] < 0.0) {
                snprintf(err, CHAINLET_ERROR_SIZE, "\"%s\" row %ld holds a negative probability", key, r);
                return 0;
            }
            sum += v[r * width + k];
        }
        if (fabs(sum - 1.0) > 1e-6) {
            snprintf(err, CHAINLET_ERROR_SIZE, "\"%s\" row %ld sums to %.9g, not 1", key, r, sum);
            return 0;
        }
    }
    return 1;
}

// Reads and checks a whole model from d into m (m->values allocated here once the sizes are
// known good). 0 with the reason in err; nothing is left allocated then.
static int chainlet_model_read(const t_dictionary *d, t_chainlet_model *m, char *err)
{
    long symbols = 0;
    m->values = NULL;
    if (!maxlearn_file_format(d, CHAINLET_FORMAT, CHAINLET_FILE_VERSION, err, CHAINLET_ERROR_SIZE)) return 0;
    if (!maxlearn_file_long(d, "states", 2, CHAINLET_MAX_STATES, &m->states, err, CHAINLET_ERROR_SIZE) ||
        !maxlearn_file_long(d, "symbols", CHAINLET_SYMBOLS, CHAINLET_SYMBOLS, &symbols, err, CHAINLET_ERROR_SIZE) ||
        !maxlearn_file_long(d, "lcd", 150, 400, &m->lcd, err, CHAINLET_ERROR_SIZE) ||
        !maxlearn_file_long(d, "trained", 0, 1, &m->trained, err, CHAINLET_ERROR_SIZE) ||
        !maxlearn_file_long(d, "current_state", -1, m->states - 1, &m->current_state, err, CHAINLET_ERROR_SIZE) ||
        !maxlearn_file_long(d, "sequence_length", 0, CHAINLET_MAX_SCORE, &m->sequence_length, err, CHAINLET_ERROR_SIZE))
        return 0;
    t_atom a;
    if (dictionary_getatom(d, gensym("apprentissage"), &a) != MAX_ERR_NONE || !maxlearn_file_atom_real(&a, &m->apprentissage) ||
        m->apprentissage < 0.0 || m->apprentissage > 3.4028234663852886e+38) {
        snprintf(err, CHAINLET_ERROR_SIZE, "\"apprentissage\" is missing or not a real from 0 up");
        return 0;
    }

    const long n = m->states;
    m->values = (double *)sysmem_newptr((t_ptr_size)(2 * chainlet_model_set(n)) * sizeof(double));
    if (!m->values) {
        snprintf(err, CHAINLET_ERROR_SIZE, "no memory for the model");
        return 0;
    }
    for (int b = 0; b < 6; b++) {
        double *v = m->values + chainlet_block_offset(n, b);
        const long size = chainlet_block_size(n, b);
        const long width = b % 3 == 0 ? n : (b % 3 == 1 ? n : CHAINLET_SYMBOLS);
        if (!chainlet_file_reals(d, chainlet_row_keys[b], size, v, err) ||
            !chainlet_stochastic_rows(chainlet_row_keys[b], v, size / width, width, err)) {
            sysmem_freeptr(m->values);
            m->values = NULL;
            return 0;
        }
    }
    return 1;
}

// The blocks that a model of n states owns, made from m; the swap exchanges them with the
// object's. Per-step blocks are left out: the next sequence makes them.
typedef struct _chainlet_blocks {
    long states;
    t_chainlet_state *rows;
    double *initial;
    double *initial_estimate;
    double *scratch;
    t_int32 *sequence;      // the loaded sequence's storage, zeros of the length the dump prints
    double *coefficients;
    long sequence_capacity;
} t_chainlet_blocks;

static void chainlet_blocks_free(t_chainlet_blocks *b)
{
    chainlet_states_release(b->rows, b->states);
    chainlet_release(b->initial);
    chainlet_release(b->initial_estimate);
    chainlet_release(b->scratch);
    chainlet_release(b->sequence);
    chainlet_release(b->coefficients);
    b->rows = NULL;
    b->initial = b->initial_estimate = b->scratch = b->coefficients = NULL;
    b->sequence = NULL;
}

static double *chainlet_block_copy(const double *v, long n)
{
    double *p = (double *)sysmem_newptr((t_ptr_size)n * sizeof(double));
    if (p) memcpy(p, v, (size_t)n * sizeof(double));
    return p;
}

static int chainlet_blocks_make(const t_chainlet_model *m, t_chainlet_blocks *b)
{
    const long n = m->states;
    const double *v = m->values;
    const double *e = v + chainlet_model_set(n);
    b->states = n;
    b->rows = (t_chainlet_state *)sysmem_newptrclear((t_ptr_size)n * sizeof(t_chainlet_state));
    b->initial = chainlet_block_copy(v, n);
    b->initial_estimate = chainlet_block_copy(e, n);
    b->scratch = (double *)sysmem_newptr((t_ptr_size)chainlet_scratch_size(n) * sizeof(double));
    b->sequence_capacity = m->sequence_length > 0 ? m->sequence_length : 1;
    b->sequence = (t_int32 *)sysmem_newptrclear((t_ptr_size)b->sequence_capacity * sizeof(t_int32));
    b->coefficients = (double *)sysmem_newptrclear((t_ptr_size)b->sequence_capacity * sizeof(double));
    int ok = b->rows && b->initial && b->initial_estimate && b->scratch && b->sequence && b->coefficients;
    for (long i = 0; ok && i < n; i++) {
        t_chainlet_state *st = b->rows + i;
        st->transition = chainlet_block_copy(v + n + i * n, n);
        st->emission = chainlet_block_copy(v + n + n * n + i * CHAINLET_SYMBOLS, CHAINLET_SYMBOLS);
        st->transition_estimate = chainlet_block_copy(e + n + i * n, n);
        st->emission_estimate = chainlet_block_copy(e + n + n * n + i * CHAINLET_SYMBOLS, CHAINLET_SYMBOLS);
        ok = st->transition && st->emission && st->transition_estimate && st->emission_estimate;
    }
    if (!ok) chainlet_blocks_free(b);
    return ok;
}

// A model read and checked, with its blocks made: what the swap puts in place.
struct _chainlet_loaded {
    t_chainlet_model m;
    t_chainlet_blocks b;
};

t_chainlet_loaded *chainlet_read_model(const t_dictionary *d, char *err)
{
    t_chainlet_loaded *l = (t_chainlet_loaded *)sysmem_newptrclear(sizeof(t_chainlet_loaded));
    if (!l) {
        snprintf(err, CHAINLET_ERROR_SIZE, "no memory for the model");
        return NULL;
    }
    const int ok = chainlet_model_read(d, &l->m, err);
    if (ok && !chainlet_blocks_make(&l->m, &l->b)) snprintf(err, CHAINLET_ERROR_SIZE, "no memory for the model");
    if (!ok || !l->b.rows) {
        chainlet_free_model(l);
        return NULL;
    }
    return l;
}

void chainlet_free_model(t_chainlet_loaded *l)
{
    if (!l) return;
    chainlet_blocks_free(&l->b);
    if (l->m.values) sysmem_freeptr(l->m.values);
    sysmem_freeptr(l);
}

void chainlet_swap_model(t_chainlet *x, t_chainlet_loaded *l)
{
    t_chainlet_model *m = &l->m;
    t_chainlet_blocks *b = &l->b;
    systhread_mutex_lock(x->model_mutex);
    const t_chainlet_blocks old = {x->state_count, x->states,   x->initial,      x->initial_estimate,
                                   x->scratch,     x->sequence, x->coefficients, x->sequence_capacity};
    const t_chainlet_model was = {x->state_count,   (double)x->apprentissage, x->lcd, x->trained,
                                  x->current_state, x->sequence_length,      m->values};
    x->state_count = (t_int32)b->states;
    chainlet_states_set(&x->states, b->rows);
    x->initial = b->initial;
    x->initial_estimate = b->initial_estimate;
    x->scratch = b->scratch;
    x->sequence = b->sequence;
    x->coefficients = b->coefficients;
    x->sequence_capacity = (t_int32)b->sequence_capacity;
    x->step_capacity = 0;  // the per-step blocks went with the old states
    x->apprentissage = (float)m->apprentissage;
    x->lcd = m->lcd;
    x->trained = (t_int32)m->trained;
    x->current_state = (t_int32)m->current_state;
    x->sequence_length = (t_int32)m->sequence_length;
    systhread_mutex_unlock(x->model_mutex);
    *b = old;
    *m = was;
}

static void chainlet_dowrite(t_chainlet *x, t_symbol *s, short argc, t_atom *argv)
{
    (void)argc;
    (void)argv;
    char name[MAX_PATH_CHARS];
    short path = 0;
    if (!maxlearn_file_target((t_object *)x, s, 1, "chainlet.json", name, &path)) return;
    t_chainlet_model m;
    t_dictionary *d = NULL;
    const int captured = chainlet_capture(x, &m);
    if (captured) d = chainlet_model_dictionary(&m);
    if (m.values) sysmem_freeptr(m.values);
    if (!d) {
        object_error((t_object *)x, "cannot write %s: %s", name, captured ? "no memory for the file" : "no model to write");
        return;
    }
    if (maxlearn_file_write_dictionary((t_object *)x, d, name, path, name))
        object_post((t_object *)x, "wrote %ld states to %s", m.states, name);
}

static void chainlet_doread(t_chainlet *x, t_symbol *s, short argc, t_atom *argv)
{
    (void)argc;
    (void)argv;
    char name[MAX_PATH_CHARS], err[CHAINLET_ERROR_SIZE];
    short path = 0;
    if (!maxlearn_file_target((t_object *)x, s, 0, "chainlet.json", name, &path)) return;
    t_dictionary *d = maxlearn_file_read_dictionary((t_object *)x, name, path, name);
    if (!d) return;
    t_chainlet_loaded *l = chainlet_read_model(d, err);
    object_free(d);
    if (!l) {
        object_error((t_object *)x, "cannot read %s: %s", name, err);
        return;
    }
    const long states = l->m.states;
    chainlet_swap_model(x, l);
    chainlet_free_model(l);  // the old model
    object_post((t_object *)x, "read %ld states from %s", states, name);
}

void chainlet_write(t_chainlet *x, t_symbol *s) { defer_low(x, CHAINLET_METHOD(chainlet_dowrite), s, 0, NULL); }

void chainlet_read(t_chainlet *x, t_symbol *s) { defer_low(x, CHAINLET_METHOD(chainlet_doread), s, 0, NULL); }

// ---------------------------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------------------------

static void chainlet_setup(void)
{
    if (chainlet_class) return;
    t_class *c = class_new("chainlet", CHAINLET_METHOD(chainlet_new), CHAINLET_METHOD(chainlet_free),
                           (long)sizeof(t_chainlet), NULL, A_GIMME, 0);

    class_addmethod(c, CHAINLET_METHOD(chainlet_assist), "assist", A_CANT, 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_bang), "bang", 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_dumpmax), "dump_max", 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_dumplcd), "dump_lcd", 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_list), "list", A_GIMME, 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_vraisemblance), "vraisemblance", A_GIMME, 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_clear), "clear", 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_int), "int", A_LONG, 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_write), "write", A_DEFSYM, 0);
    class_addmethod(c, CHAINLET_METHOD(chainlet_read), "read", A_DEFSYM, 0);

    t_hashtab *methods = (t_hashtab *)class_extra_lookup(c, gensym("methods"));
    if (methods) {
        t_object *m = NULL;
        hashtab_lookup(methods, gensym("int"), &m);
        if (m) object_addattr_parse(m, "undocumented", gensym("long"), 0, "1");
    }

    t_symbol *l = gensym("long");
    class_addattr(c, attr_offset_new("lcd", l, 16777216, NULL, NULL, calcoffset(t_chainlet, lcd)));
    class_addattr(c, attr_offset_new("apprentissage", gensym("float32"), 0, NULL, NULL,
                                     calcoffset(t_chainlet, apprentissage)));
    class_attr_addattr_parse(c, "lcd", "save", l, 0, "1");
    class_attr_addattr_parse(c, "apprentissage", "save", l, 0, "1");
    attr_addfilter_clip(class_attr_get(c, gensym("lcd")), 150.0, 400.0, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("apprentissage")), 0.0, 3.4028234663852886e+38, 1, 1);
    class_attr_addattr_parse(c, "apprentissage", "order", l, 0, "1");
    class_attr_addattr_parse(c, "lcd", "order", l, 0, "2");
    // What the inspector shows for each attribute, and the group it shows it in.
    CLASS_ATTR_LABEL(c, "apprentissage", 0, "Learning Inertia");
    CLASS_ATTR_CATEGORY(c, "apprentissage", 0, "Learning");
    CLASS_ATTR_LABEL(c, "lcd", 0, "Drawing Size");
    CLASS_ATTR_CATEGORY(c, "lcd", 0, "Drawing");

    class_register(CLASS_BOX, c);
    chainlet_class = c;
}

void ext_main(void *r)
{
    (void)r;
    chainlet_setup();
}

C74_EXPORT int main(void)
{
    chainlet_setup();
    return 0;
}
