// selfmap: a one-dimensional self-organising map.
//
// A chain of map_size units, each a vector of vector_size doubles in 0..value_max. "learn" moves
// every unit toward the input by a Gaussian of its distance along the chain from the nearest unit,
// the radius shrinking from "influence" to 1 over learn_horizon learnings; "bang" and "int" read a
// unit out, "list"/"change" pass a list through with elements replaced by a random unit's values;
// "dump_max" prints and "dump_lcd" draws the map.
//
// Threads: one mutex per instance. Learning, "clear" and the accessors of "pas" change
// the map or the step under it; "bang", "int", "list"/"change" and both reports read under it,
// into buffers of their own, and send or post after releasing it. Every handler waits for the lock
// rather than dropping its message, so a patch loses no message the object accepts.
//
// Speed, with the plain loops' arithmetic: the winner search compares squared sums and takes a
// square root only when a unit may beat the best; on long vectors it screens units with a
// reordered (vectorised) sum and recomputes the few that can win in the plain order. The
// neighbourhood factors are computed once per distance from the winner and kept while the radius
// stays the same (every learning past the horizon), and units whose step is too small to change
// anything but near-zero components are only scanned for those. All of it gives the values the
// plain loops give, bit for bit; pow(x, 2.0) is written x * x, which is what GCC makes of it.

#include "selfmap.h"
#include "maxlearn_modelfile.h"

#include <limits.h>
#include <math.h>
#include <string.h>
#include <time.h>

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#include <immintrin.h>
#define SELFMAP_X86_AVX2 1
#endif

t_class *selfmap_class = NULL;

// Handlers go to the host as untyped methods; the detour through void (*)(void) says the cast is
// deliberate.
#define SELFMAP_METHOD(f) ((method)(void (*)(void))(f))

static const long selfmap_vector_bytes = SELFMAP_MAX_VECTOR * (long)sizeof(double);

// Vectors at least this long are screened with the reordered sum before the exact one.
static const long selfmap_screen_from = 16;

// ---------------------------------------------------------------------------------------------
// Small helpers
// ---------------------------------------------------------------------------------------------

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
long selfmap_load(const long *p) { return *(const volatile long *)p; }
void selfmap_store(long *p, long v) { *(volatile long *)p = v; }
static long selfmap_exchange(long *p, long v) { return _InterlockedExchange((volatile long *)p, v); }
#else
long selfmap_load(const long *p) { return __atomic_load_n(p, __ATOMIC_RELAXED); }
void selfmap_store(long *p, long v) { __atomic_store_n(p, v, __ATOMIC_RELAXED); }
static long selfmap_exchange(long *p, long v) { return __atomic_exchange_n(p, v, __ATOMIC_RELAXED); }
#endif

static void selfmap_lock(t_selfmap *x)
{
    if (x->mutex) systhread_mutex_lock(x->mutex);
}

static void selfmap_unlock(t_selfmap *x)
{
    if (x->mutex) systhread_mutex_unlock(x->mutex);
}

// Nearest integer, halves away from zero. A value_max near the top of the integer range can put a
// component at a double just past it (2^63), whose plain conversion would be undefined; such
// values saturate.
static t_atom_long selfmap_round(double v)
{
    double r = round(v);
    if (r >= 9223372036854775807.0) return (t_atom_long)LLONG_MAX;
    if (r <= -9223372036854775807.0) return (t_atom_long)LLONG_MIN;
    return (t_atom_long)r;
}

// rand() modulo (value_max + 1), computed unsigned so that value_max + 1 cannot overflow.
static long selfmap_draw(long value_max)
{
    if (value_max <= 0) return 0;
    unsigned long range = (unsigned long)value_max + 1UL;
    return (long)((unsigned long)rand() % range);
}

static double *selfmap_unit(const t_selfmap *x, long i)
{
    if (!x->units || i < 0 || i >= x->map_size) return NULL;
    return x->units[i];
}

// ---------------------------------------------------------------------------------------------
// Kernels
// ---------------------------------------------------------------------------------------------

// Sum over the first n components of (u - v)^2, in component order: the distance it compares.
static double selfmap_exact_sum(const double *u, const double *v, long n)
{
    double s = 0.0;
    for (long j = 0; j < n; j++) {
        double e = u[j] - v[j];
        s += e * e;
    }
    return s;
}

// The same sum in another order, for screening only: it differs from the exact one by less than
// n * 2^-52 of it (both are sums of n non-negative terms, each within n * 2^-53 of the true sum).
// Eight running sums, which compilers keep in vector registers.
static double selfmap_quick_sum(const double *u, const double *v, long n)
{
    double p[8] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    long j = 0;
    for (; j + 8 <= n; j += 8)
        for (int k = 0; k < 8; k++) p[k] += (u[j + k] - v[j + k]) * (u[j + k] - v[j + k]);
    double s = ((p[0] + p[1]) + (p[2] + p[3])) + ((p[4] + p[5]) + (p[6] + p[7]));
    for (; j < n; j++) s += (u[j] - v[j]) * (u[j] - v[j]);
    return s;
}

#ifdef SELFMAP_X86_AVX2
__attribute__((target("avx2,fma"))) static double selfmap_quick_sum_avx2(const double *u, const double *v, long n)
{
    __m256d p0 = _mm256_setzero_pd(), p1 = p0, p2 = p0, p3 = p0;
    long j = 0;
    for (; j + 16 <= n; j += 16) {
        __m256d e0 = _mm256_sub_pd(_mm256_loadu_pd(u + j), _mm256_loadu_pd(v + j));
        __m256d e1 = _mm256_sub_pd(_mm256_loadu_pd(u + j + 4), _mm256_loadu_pd(v + j + 4));
        __m256d e2 = _mm256_sub_pd(_mm256_loadu_pd(u + j + 8), _mm256_loadu_pd(v + j + 8));
        __m256d e3 = _mm256_sub_pd(_mm256_loadu_pd(u + j + 12), _mm256_loadu_pd(v + j + 12));
        p0 = _mm256_fmadd_pd(e0, e0, p0);
        p1 = _mm256_fmadd_pd(e1, e1, p1);
        p2 = _mm256_fmadd_pd(e2, e2, p2);
        p3 = _mm256_fmadd_pd(e3, e3, p3);
    }
    for (; j + 4 <= n; j += 4) {
        __m256d e = _mm256_sub_pd(_mm256_loadu_pd(u + j), _mm256_loadu_pd(v + j));
        p0 = _mm256_fmadd_pd(e, e, p0);
    }
    p0 = _mm256_add_pd(_mm256_add_pd(p0, p1), _mm256_add_pd(p2, p3));
    __m128d h = _mm_add_pd(_mm256_castpd256_pd128(p0), _mm256_extractf128_pd(p0, 1));
    double s = _mm_cvtsd_f64(_mm_add_sd(h, _mm_unpackhi_pd(h, h)));
    for (; j < n; j++) s += (u[j] - v[j]) * (u[j] - v[j]);
    return s;
}

// Settled when the library loads; the same code runs without AVX2, only slower. Asked of cpuid
// itself rather than __builtin_cpu_supports, whose compiler-rt tables not every macOS toolchain links.
static bool selfmap_detect_avx2(void)
{
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    if (!(c & bit_FMA) || !(c & bit_AVX) || !(c & bit_OSXSAVE)) return false;
    unsigned lo, hi;
    __asm__("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    if ((lo & 6) != 6) return false;  // the system saves the SSE and AVX registers
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return (b & bit_AVX2) != 0;
}
static bool selfmap_has_avx2 = selfmap_detect_avx2();
#endif

long selfmap_wide_kernels(long on)
{
#ifdef SELFMAP_X86_AVX2
    long was = selfmap_has_avx2;
    selfmap_has_avx2 = on && selfmap_detect_avx2();
    return was;
#else
    (void)on;
    return 0;
#endif
}

// Components below this are the only ones a step below selfmap_tiny_step can change: such a step
// moves a component by less than 2^-137 (|v - u| <= value_max < 2^63), under half a unit in the
// last place of anything from 2^-60 up.
static const double selfmap_tiny_step = 0x1p-200;
static const double selfmap_tiny_value = 0x1p-60;

#if defined(_MSC_VER) && !defined(__clang__)
#define SELFMAP_INLINE __forceinline
#else
#define SELFMAP_INLINE inline __attribute__((always_inline))
#endif

// u[j] = u[j] + a * (v[j] - u[j]) for the first n components, with the same result for each as
// that expression: a zero step leaves finite components as they are (they are never -0), a tiny
// one only the near-zero components. Inlined into the kernels below, which are compiled for the
// baseline processor and for AVX2 (without fused multiply-add, and -ffp-contract=off for the
// file: each product is rounded on its own, as in the plain expression).
static SELFMAP_INLINE void selfmap_move_one(double *__restrict u, const double *__restrict v, double a, long n)
{
    if (a == 0.0) return;
    if (a < selfmap_tiny_step) {
        long low = 0;
        for (long j = 0; j < n; j++) low += u[j] < selfmap_tiny_value;
        if (low == 0) return;
        for (long j = 0; j < n; j++)
            if (u[j] < selfmap_tiny_value) u[j] = u[j] + a * (v[j] - u[j]);
        return;
    }
    for (long j = 0; j < n; j++) u[j] = u[j] + a * (v[j] - u[j]);
}

// One learning step: unit i moves by alpha * factors[|i - w|].
static SELFMAP_INLINE void selfmap_train_one(double *const *units, long n, long w, const double *v, long vs, double alpha,
                                             const double *factors)
{
    for (long i = 0; i < n; i++)
        if (units[i]) selfmap_move_one(units[i], v, alpha * factors[i < w ? w - i : i - w], vs);
}

static void selfmap_move_plain(double *u, const double *v, double a, long n) { selfmap_move_one(u, v, a, n); }

static void selfmap_train_plain(double *const *units, long n, long w, const double *v, long vs, double alpha,
                                const double *factors)
{
    selfmap_train_one(units, n, w, v, vs, alpha, factors);
}

#ifdef SELFMAP_X86_AVX2
__attribute__((target("avx2"))) static void selfmap_move_avx2(double *u, const double *v, double a, long n)
{
    selfmap_move_one(u, v, a, n);
}

__attribute__((target("avx2"))) static void selfmap_train_avx2(double *const *units, long n, long w, const double *v,
                                                               long vs, double alpha, const double *factors)
{
    selfmap_train_one(units, n, w, v, vs, alpha, factors);
}
#endif

static void selfmap_move(double *u, const double *v, double a, long n)
{
#ifdef SELFMAP_X86_AVX2
    if (selfmap_has_avx2) {
        selfmap_move_avx2(u, v, a, n);
        return;
    }
#endif
    selfmap_move_plain(u, v, a, n);
}

static void selfmap_train(double *const *units, long n, long w, const double *v, long vs, double alpha,
                          const double *factors)
{
#ifdef SELFMAP_X86_AVX2
    if (selfmap_has_avx2) {
        selfmap_train_avx2(units, n, w, v, vs, alpha, factors);
        return;
    }
#endif
    selfmap_train_plain(units, n, w, v, vs, alpha, factors);
}

// ---------------------------------------------------------------------------------------------
// Map
// ---------------------------------------------------------------------------------------------

void carte_init(t_selfmap *x)
{
    if (x->units) {
        for (long i = 0; i < x->map_size; i++) {
            double *u = x->units[i];
            if (!u) continue;
            for (long j = 0; j < x->vector_size; j++) u[j] = (double)selfmap_draw(x->value_max);
        }
    }
    x->learn_count = 0;
}

// The selection: the first unit sets the best distance, a later one replaces it only
// when strictly nearer. Sums are compared first (the root is monotone), roots only when the sum
// is smaller, so that two sums with the same root still tie.
struct selfmap_best {
    long winner;
    double sum;
    double dist;
};

static void selfmap_consider(selfmap_best *b, long i, double s)
{
    if (b->winner >= 0 && !(s < b->sum)) return;
    double d = sqrt(s);
    if (b->winner < 0 || b->dist > d) {
        b->winner = i;
        b->sum = s;
        b->dist = d;
    }
}

long carte_gagnant(t_selfmap *x, const double *v)
{
    if (!x->units || !v) return -1;
    long n = x->map_size, vs = x->vector_size;
    selfmap_best b = {-1, 0.0, 0.0};
    if (vs < selfmap_screen_from) {
        for (long i = 0; i < n; i++)
            if (x->units[i]) selfmap_consider(&b, i, selfmap_exact_sum(x->units[i], v, vs));
        return b.winner;
    }

    // Screening: a unit whose reordered sum exceeds the smallest by more than 2^-36 of it has an
    // exact sum, and a root, strictly above the winner's; only the others are summed exactly.
    double quick[SELFMAP_MAX_UNITS];
    double least = -1.0;
    for (long i = 0; i < n; i++) {
        const double *u = x->units[i];
        if (!u) continue;
#ifdef SELFMAP_X86_AVX2
        quick[i] = selfmap_has_avx2 ? selfmap_quick_sum_avx2(u, v, vs) : selfmap_quick_sum(u, v, vs);
#else
        quick[i] = selfmap_quick_sum(u, v, vs);
#endif
        if (least < 0.0 || quick[i] < least) least = quick[i];
    }
    double limit = least + least * 0x1p-36;
    for (long i = 0; i < n; i++)
        if (x->units[i] && quick[i] <= limit) selfmap_consider(&b, i, selfmap_exact_sum(x->units[i], v, vs));
    return b.winner;
}

// sigma = R exp(-t / T) with T = H / ln R. With R = 1, T is infinite and sigma exactly R (IEEE:
// -t / inf is -0, exp(-0) is 1); that value is returned without dividing by zero, so no
// floating-point trap setting can stop the learning.
static double selfmap_sigma(const t_selfmap *x)
{
    double r = (double)x->influence;
    double ln_r = log(r);
    if (ln_r == 0.0) return r;
    double t_scale = (double)x->learn_horizon / ln_r;
    return r * exp((double)(-x->learn_count) / t_scale);
}

// exp((i - w)^2 / (sigma^2 * -2)) for a distance d = |i - w|.
static double selfmap_factor(long d, double sigma)
{
    double dd = (double)d;
    return exp((dd * dd) / ((sigma * sigma) * -2.0));
}

double carte_influence(t_selfmap *x, long w, long i)
{
    return selfmap_factor(i - w, selfmap_sigma(x));
}

// The step before the neighbourhood factor: pas, or pas / e once learn_count reaches the horizon.
static double selfmap_alpha(const t_selfmap *x)
{
    long k = x->learn_horizon > 0 ? (-x->learn_count) / x->learn_horizon : 0;
    return (k == 0 ? 1.0 : exp((double)k)) * x->pas;  // exp(0) is 1 exactly
}

void vecteur_modifier(t_selfmap *x, double *u, const double *v, double h)
{
    if (!u || !v) return;
    selfmap_move(u, v, selfmap_alpha(x) * h, x->vector_size);
}

// Factors for distances 0 .. count - 1 under this sigma, computed on first need.
static void selfmap_factors(t_selfmap *x, double sigma, long count)
{
    if (x->factor_sigma != sigma) {
        x->factor_sigma = sigma;
        x->factor_count = 0;
    }
    if (count > SELFMAP_MAX_UNITS) count = SELFMAP_MAX_UNITS;
    for (long d = x->factor_count; d < count; d++) {
        x->factors[d] = selfmap_factor(d, sigma);
        if (x->factors[d] == 0.0) {  // the Gaussian only falls further
            for (long e = d + 1; e < SELFMAP_MAX_UNITS; e++) x->factors[e] = 0.0;
            x->factor_count = SELFMAP_MAX_UNITS;
            return;
        }
        x->factor_count = d + 1;
    }
}

// One learning step for winner w: every unit follows v by alpha * h(|i - w|).
static void carte_apprendre(t_selfmap *x, long w, const double *v)
{
    long n = x->map_size, vs = x->vector_size;
    double alpha = selfmap_alpha(x);
    selfmap_factors(x, selfmap_sigma(x), (w > n - 1 - w ? w : n - 1 - w) + 1);
    selfmap_train(x->units, n, w, v, vs, alpha, x->factors);
}

// ---------------------------------------------------------------------------------------------
// Learning and pass-through
// ---------------------------------------------------------------------------------------------

void selfmap_learn(t_selfmap *x, t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    // An empty list would leave vectors of no component (the step divides by their number);
    // it is ignored. A list longer than a unit never matches vector_size: nothing changes.
    if (argc <= 0 || !argv || argc > SELFMAP_MAX_VECTOR) return;
    double v[SELFMAP_MAX_VECTOR];

    selfmap_lock(x);
    if (argc != x->vector_size) {
        x->vector_size = argc;
        carte_init(x);
    }
    long value_max = x->value_max;
    for (long j = 0; j < argc; j++) {
        // The atom's own fields, as atom_gettype and atom_getlong give them for an integer.
        if (argv[j].a_type == A_LONG) {
            t_atom_long n = argv[j].a_w.w_long;
            if (n <= 0)
                v[j] = 0.0;
            else if (n >= value_max)
                v[j] = (double)value_max;
            else
                v[j] = (double)n;
        } else {
            v[j] = (double)selfmap_draw(value_max);
        }
    }
    long w = carte_gagnant(x, v);
    if (w >= 0) {
        if (x->learn_count < x->learn_horizon) x->learn_count += 1;
        carte_apprendre(x, w, v);
    }
    selfmap_unlock(x);
}

void selfmap_list(t_selfmap *x, t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    if (argc < 0 || (argc > 0 && !argv)) return;
    // Lists longer than the output buffer pass through whole in a buffer of their own; an outlet
    // carries at most SHRT_MAX atoms, so anything longer is dropped.
    if (argc > SHRT_MAX) return;
    t_atom local[SELFMAP_MAX_VECTOR];
    t_atom *out = local;
    if (argc > SELFMAP_MAX_VECTOR) {
        out = (t_atom *)sysmem_newptr((t_ptr_size)argc * sizeof(t_atom));
        if (!out) return;
    }

    selfmap_lock(x);
    long r = (long)(rand() % x->map_size);
    const double *u = selfmap_unit(x, r);
    long vs = x->vector_size;
    if (x->learn_count > 0 && u && x->out_atoms && vs > 0) {
        long mutation = x->mutation;
        for (long i = 0; i < argc; i++) {
            long p = rand() % 100;
            if (mutation > p)
                atom_setlong(out + i, selfmap_round(u[i % vs]));
            else
                atom_setlong(out + i, atom_getlong(argv + i));
        }
    } else {
        for (long i = 0; i < argc; i++) atom_setlong(out + i, atom_getlong(argv + i));
    }
    selfmap_unlock(x);

    outlet_list(x->list_outlet, NULL, (short)argc, out);
    if (out != local) sysmem_freeptr(out);
}

// ---------------------------------------------------------------------------------------------
// Object
// ---------------------------------------------------------------------------------------------

// Sends unit r (or, for r < 0, a random one), rounded, read under the lock into a buffer of this
// call's own. The unit and the map size are taken under the lock: a "read" may change them.
static void selfmap_send_unit(t_selfmap *x, long r)
{
    if (!x->out_atoms) return;
    t_atom out[SELFMAP_MAX_VECTOR];
    selfmap_lock(x);
    if (r < 0) r = (long)(rand() % x->map_size);
    const double *u = selfmap_unit(x, r);
    long vs = u ? x->vector_size : 0;
    for (long j = 0; j < vs; j++) atom_setlong(out + j, selfmap_round(u[j]));
    selfmap_unlock(x);
    if (u) outlet_list(x->list_outlet, NULL, (short)vs, out);
}

void selfmap_bang(t_selfmap *x) { selfmap_send_unit(x, -1); }

void selfmap_int(t_selfmap *x, t_atom_long n)
{
    if (n < 1 || n > SELFMAP_MAX_UNITS) return;  // and beyond the map: selfmap_unit gives none
    selfmap_send_unit(x, (long)(n - 1));
}

void selfmap_clear(t_selfmap *x)
{
    selfmap_lock(x);
    carte_init(x);
    selfmap_unlock(x);
}

void selfmap_task_max(t_selfmap *x) { selfmap_store(&x->dump_busy, 0); }

void selfmap_assist(t_selfmap *x, void *b, long m, long a, char *s)
{
    (void)x;
    (void)b;
    if (m == ASSIST_INLET)
        sprintf(s, "(list) (bang) (int) (symbol) clear, learn, change, dump_max, dump_lcd");
    else if (a == 0)
        sprintf(s, "(list)");
    else
        sprintf(s, "(lcd) dump");
}

t_max_err selfmap_get(t_selfmap *x, void *attr, long *argc, t_atom **argv)
{
    (void)attr;
    char alloc;
    atom_alloc(argc, argv, &alloc);
    if (*argv) {
        selfmap_lock(x);
        double pas = x->pas;
        selfmap_unlock(x);
        atom_setfloat(*argv, pas);
    }
    return 0;
}

t_max_err selfmap_set(t_selfmap *x, void *attr, long argc, t_atom *argv)
{
    (void)attr;
    if (!argc || !argv) return 0;
    double pas = atom_getfloat(argv);
    selfmap_lock(x);
    x->pas = pas;
    selfmap_unlock(x);
    return 0;
}

void *selfmap_new(t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    t_selfmap *x = (t_selfmap *)object_alloc(selfmap_class);
    if (!x) return NULL;
    srand((unsigned int)time(NULL));

    x->vector_size = 4;
    x->mutation = 40;
    x->pas = 1.0;
    x->influence = 25;
    x->learn_horizon = 60;
    x->lcd = 150;
    x->map_size = 50;
    x->value_max = 127;
    x->dump_busy = 0;
    x->learn_count = 0;
    x->units = NULL;
    x->out_atoms = NULL;
    x->mutex = NULL;
    x->factor_sigma = 0.0;
    x->factor_count = 0;
    // Before the attribute arguments: the accessors of "pas" take it.
    systhread_mutex_new(&x->mutex, 0);

    long count = 0;
    char alloc = 0;
    atom_alloc_array(SELFMAP_MAX_VECTOR, &count, &x->out_atoms, &alloc);

    // Positional arguments are the atoms before the first attribute name: in "selfmap 10 @influence 3"
    // the 3 belongs to the attribute, not to value_max.
    short ac = (short)(argc > SHRT_MAX ? SHRT_MAX : (argc < 0 ? 0 : argc));
    long positional = argv ? attr_args_offset(ac, argv) : 0;
    if (positional > 0 && atom_gettype(argv) == A_LONG) {
        t_atom_long n = atom_getlong(argv);
        if (n > 1 && n <= SELFMAP_MAX_UNITS) {
            x->map_size = (long)n;
            x->influence = (long)n / 2;
        }
        if (positional > 1 && atom_gettype(argv + 1) == A_LONG) {
            t_atom_long h = atom_getlong(argv + 1);
            if (h > 0 && h <= 1000) x->learn_horizon = (long)h;
        }
        if (positional > 2 && atom_gettype(argv + 2) == A_LONG) {
            t_atom_long m = atom_getlong(argv + 2);
            if (m > LONG_MAX) m = LONG_MAX;  // where long has 32 bits
            if (m > 1) x->value_max = (long)m;
        }
    }
    attr_args_process(x, ac, argv);

    x->units = (double **)sysmem_newptr((t_ptr_size)x->map_size * sizeof(double *));
    if (x->units)
        for (long i = 0; i < x->map_size; i++) x->units[i] = (double *)sysmem_newptrclear(selfmap_vector_bytes);
    carte_init(x);

    x->lcd_qelem = qelem_new(x, SELFMAP_METHOD(selfmap_qtask_lcd));
    x->dump_clock = clock_new(x, SELFMAP_METHOD(selfmap_task_max));
    x->lcd_outlet = outlet_new(x, NULL);
    x->list_outlet = listout(x);
    return x;
}

void selfmap_free(t_selfmap *x)
{
    // The tasks go first, so that neither can run on a half-freed record.
    if (x->lcd_qelem) {
        qelem_unset(x->lcd_qelem);
        qelem_free(x->lcd_qelem);
        x->lcd_qelem = NULL;
    }
    if (x->dump_clock) {
        clock_unset(x->dump_clock);
        object_free(x->dump_clock);
        x->dump_clock = NULL;
    }
    if (x->out_atoms) sysmem_freeptr(x->out_atoms);
    x->out_atoms = NULL;
    if (x->units) {
        for (long i = 0; i < x->map_size; i++)
            if (x->units[i]) sysmem_freeptr(x->units[i]);
        sysmem_freeptr(x->units);
        x->units = NULL;
    }
    if (x->mutex) systhread_mutex_free(x->mutex);
    x->mutex = NULL;
}

// ---------------------------------------------------------------------------------------------
// Reports
// ---------------------------------------------------------------------------------------------

// What a report shows, copied under the lock: the vectors of the present units (rows of
// vector_size components) and the settings, which a "read" may change.
typedef struct _selfmap_view {
    long map_size, vector_size, value_max, learn_count, learn_horizon, influence, lcd;
    double pas;
    char present[SELFMAP_MAX_UNITS];
    double *rows;  // NULL when no buffer could be had
} t_selfmap_view;

static void selfmap_capture(t_selfmap *x, t_selfmap_view *w)
{
    // Room for the largest map, allocated before the lock.
    w->rows = (double *)sysmem_newptr((t_ptr_size)SELFMAP_MAX_UNITS * (t_ptr_size)selfmap_vector_bytes);
    selfmap_lock(x);
    w->map_size = x->map_size;
    w->vector_size = x->vector_size;
    w->value_max = x->value_max;
    w->learn_count = x->learn_count;
    w->learn_horizon = x->learn_horizon;
    w->influence = x->influence;
    w->lcd = x->lcd;
    w->pas = x->pas;
    for (long i = 0; i < w->map_size; i++) {
        w->present[i] = x->units && x->units[i];
        if (w->rows && w->present[i])
            memcpy(w->rows + i * w->vector_size, x->units[i], (size_t)w->vector_size * sizeof(double));
    }
    selfmap_unlock(x);
}

void selfmap_dumpmax(t_selfmap *x)
{
    if (selfmap_exchange(&x->dump_busy, 1) != 0) return;

    t_selfmap_view w;
    selfmap_capture(x, &w);
    const long vs = w.vector_size;
    double *rows = w.rows;

    post("Taille carte : %ld", w.map_size);
    post("Apprentissages /%ld : %ld", w.learn_horizon, w.learn_count);
    post("Rayon d'influence : %ld", w.influence);
    post("Pas d'apprentissage : %.2lf", w.pas);
    post(" ");

    char *text = sysmem_newptr(100);
    if (text && rows) {
        long size = 100;
        text[0] = '\0';
        t_atom atoms[SELFMAP_MAX_VECTOR];
        for (long i = 0; i < w.map_size; i++) {
            if (!w.present[i]) continue;
            for (long j = 0; j < vs; j++) atom_setlong(atoms + j, selfmap_round(rows[i * vs + j]));
            atom_gettext(vs, atoms, &size, &text, 0);
            post("%ld : %s", i + 1, text);
        }
    }
    if (text) sysmem_freeptr(text);
    if (rows) sysmem_freeptr(rows);
    post(" ");

    clock_fdelay(x->dump_clock, 1000.0);
}

void selfmap_dumplcd(t_selfmap *x)
{
    if (x->lcd_qelem) qelem_set(x->lcd_qelem);
}

void selfmap_qtask_lcd(t_selfmap *x)
{
    t_selfmap_view w;
    selfmap_capture(x, &w);
    double *rows = w.rows;
    const long vs = w.vector_size;
    if (!rows || vs < 1) {
        if (rows) sysmem_freeptr(rows);
        return;
    }
    long n = w.map_size;
    long lcd = w.lcd;
    double value_max = (double)w.value_max;

    long cw = lcd / n;
    if (cw < 2) cw = 2;
    long ch = lcd / vs;
    if (ch < 2) ch = 2;

    t_atom a[5];
    outlet_anything(x->lcd_outlet, gensym("clear"), 0, NULL);
    atom_setlong(a, n * cw);
    atom_setlong(a + 1, vs * ch);
    outlet_anything(x->lcd_outlet, gensym("size"), 2, a);

    t_symbol *paintrect = gensym("paintrect");
    for (long i = 0; i < n; i++) {
        if (!w.present[i]) continue;
        for (long j = 0; j < vs; j++) {
            double g = round(rows[i * vs + j] / value_max * 128.0);
            long colour = g < 1.0 ? 0 : (g > 255.0 ? 255 : (long)g);
            atom_setlong(a, i * cw);
            atom_setlong(a + 1, j * ch);
            atom_setlong(a + 2, (i + 1) * cw);
            atom_setlong(a + 3, (j + 1) * ch);
            atom_setlong(a + 4, colour);
            outlet_anything(x->lcd_outlet, paintrect, 5, a);
        }
    }
    sysmem_freeptr(rows);
}

// ---------------------------------------------------------------------------------------------
// Model files: "write" and "read" keep the map in a dictionary file (JSON) with what shapes its
// learning: the sizes, the bounds, the attributes and the learning count. The file work runs on
// the main thread; the map is copied under the lock and written after it, or read and checked in
// full into new units that replace the old ones in one step.
// ---------------------------------------------------------------------------------------------

#define SELFMAP_FORMAT "maxlearn.selfmap"
#define SELFMAP_FILE_VERSION 1

// The map as the file holds it; `values` holds map_size rows of vector_size components.
typedef struct _selfmap_model {
    long map_size, vector_size, value_max, learn_count, learn_horizon, influence, mutation, lcd;
    double pas;
    double *values;
} t_selfmap_model;

static int selfmap_model_capture(t_selfmap *x, t_selfmap_model *m)
{
    m->values = (double *)sysmem_newptr((t_ptr_size)SELFMAP_MAX_UNITS * (t_ptr_size)selfmap_vector_bytes);
    if (!m->values) return 0;
    int ok = 1;
    selfmap_lock(x);
    m->map_size = x->map_size;
    m->vector_size = x->vector_size;
    m->value_max = x->value_max;
    m->learn_count = x->learn_count;
    m->learn_horizon = x->learn_horizon;
    m->influence = x->influence;
    m->mutation = x->mutation;
    m->lcd = x->lcd;
    m->pas = x->pas;
    for (long i = 0; i < m->map_size; i++) {
        const double *u = selfmap_unit(x, i);
        if (u)
            memcpy(m->values + i * m->vector_size, u, (size_t)m->vector_size * sizeof(double));
        else
            ok = 0;
    }
    selfmap_unlock(x);
    return ok;
}

static t_dictionary *selfmap_model_dictionary(const t_selfmap_model *m)
{
    t_dictionary *d = dictionary_new();
    if (!d) return NULL;
    const struct {
        const char *key;
        long value;
    } longs[] = {{"version", SELFMAP_FILE_VERSION}, {"units", m->map_size},          {"vector_size", m->vector_size},
                 {"value_max", m->value_max},        {"learn_horizon", m->learn_horizon}, {"learn_count", m->learn_count},
                 {"influence", m->influence},        {"mutation", m->mutation},      {"lcd", m->lcd}};
    int ok = dictionary_appendsym(d, gensym("format"), gensym(SELFMAP_FORMAT)) == MAX_ERR_NONE;
    for (const auto &e : longs) ok = ok && dictionary_appendlong(d, gensym(e.key), e.value) == MAX_ERR_NONE;
    ok = ok && dictionary_appendfloat(d, gensym("pas"), m->pas) == MAX_ERR_NONE;
    const long count = m->map_size * m->vector_size;
    t_atom *a = ok ? (t_atom *)sysmem_newptr((t_ptr_size)count * sizeof(t_atom)) : NULL;
    if (a) {
        for (long i = 0; i < count; i++) atom_setfloat(a + i, m->values[i]);
        ok = dictionary_appendatoms(d, gensym("values"), count, a) == MAX_ERR_NONE;
        sysmem_freeptr(a);
    }
    if (!ok || !a) {
        object_free(d);
        return NULL;
    }
    return d;
}

// Reads and checks a whole map from d into m (m->values allocated once the sizes are known
// good). 0 with the reason in err; nothing is left allocated then.
static int selfmap_model_read(const t_dictionary *d, t_selfmap_model *m, char *err)
{
    m->values = NULL;
    if (!maxlearn_file_format(d, SELFMAP_FORMAT, SELFMAP_FILE_VERSION, err, SELFMAP_ERROR_SIZE)) return 0;
    // The bounds of the box arguments and of the attributes' clipping; a value_max beyond this
    // platform's long is refused rather than cut.
    if (!maxlearn_file_long(d, "units", 2, SELFMAP_MAX_UNITS, &m->map_size, err, SELFMAP_ERROR_SIZE) ||
        !maxlearn_file_long(d, "vector_size", 1, SELFMAP_MAX_VECTOR, &m->vector_size, err, SELFMAP_ERROR_SIZE) ||
        !maxlearn_file_long(d, "value_max", 2, LONG_MAX, &m->value_max, err, SELFMAP_ERROR_SIZE) ||
        !maxlearn_file_long(d, "learn_horizon", 1, 1000, &m->learn_horizon, err, SELFMAP_ERROR_SIZE) ||
        !maxlearn_file_long(d, "learn_count", 0, m->learn_horizon, &m->learn_count, err, SELFMAP_ERROR_SIZE) ||
        !maxlearn_file_long(d, "influence", 1, 100, &m->influence, err, SELFMAP_ERROR_SIZE) ||
        !maxlearn_file_long(d, "mutation", 0, 100, &m->mutation, err, SELFMAP_ERROR_SIZE) ||
        !maxlearn_file_long(d, "lcd", 100, 800, &m->lcd, err, SELFMAP_ERROR_SIZE))
        return 0;
    t_atom a;
    if (dictionary_getatom(d, gensym("pas"), &a) != MAX_ERR_NONE || !maxlearn_file_atom_real(&a, &m->pas) || m->pas < 0.0 ||
        m->pas > 1.0) {
        snprintf(err, SELFMAP_ERROR_SIZE, "\"pas\" is missing or not a real from 0 to 1");
        return 0;
    }
    long argc = 0;
    t_atom *argv = NULL;
    const long count = m->map_size * m->vector_size;
    if (!dictionary_hasentry(d, gensym("values"))) {
        snprintf(err, SELFMAP_ERROR_SIZE, "no \"values\"");
        return 0;
    }
    if (dictionary_getatoms(d, gensym("values"), &argc, &argv) != MAX_ERR_NONE || !argv || argc != count) {
        snprintf(err, SELFMAP_ERROR_SIZE, "\"values\" holds %ld values, not %ld units of %ld", argc, m->map_size,
                 m->vector_size);
        return 0;
    }
    m->values = (double *)sysmem_newptr((t_ptr_size)count * sizeof(double));
    if (!m->values) {
        snprintf(err, SELFMAP_ERROR_SIZE, "no memory for the map");
        return 0;
    }
    for (long i = 0; i < count; i++)
        if (!maxlearn_file_atom_real(argv + i, m->values + i)) {
            snprintf(err, SELFMAP_ERROR_SIZE, "\"values\" value %ld is not a finite number", i);
            sysmem_freeptr(m->values);
            m->values = NULL;
            return 0;
        }
    return 1;
}

static void selfmap_units_free(double **units, long n)
{
    if (!units) return;
    for (long i = 0; i < n; i++)
        if (units[i]) sysmem_freeptr(units[i]);
    sysmem_freeptr(units);
}

// Units made from m, NULL without memory.
static double **selfmap_units_make(const t_selfmap_model *m)
{
    double **units = (double **)sysmem_newptrclear((t_ptr_size)m->map_size * sizeof(double *));
    if (!units) return NULL;
    for (long i = 0; i < m->map_size; i++) {
        units[i] = (double *)sysmem_newptrclear(selfmap_vector_bytes);
        if (!units[i]) {
            selfmap_units_free(units, m->map_size);
            return NULL;
        }
        memcpy(units[i], m->values + i * m->vector_size, (size_t)m->vector_size * sizeof(double));
    }
    return units;
}

// A map read and checked, with its units made: what the swap puts in place.
struct _selfmap_loaded {
    t_selfmap_model m;
    double **units;
};

t_selfmap_loaded *selfmap_read_model(const t_dictionary *d, char *err)
{
    t_selfmap_loaded *l = (t_selfmap_loaded *)sysmem_newptrclear(sizeof(t_selfmap_loaded));
    if (!l) {
        snprintf(err, SELFMAP_ERROR_SIZE, "no memory for the map");
        return NULL;
    }
    const int ok = selfmap_model_read(d, &l->m, err);
    if (ok) l->units = selfmap_units_make(&l->m);
    if (ok && !l->units) snprintf(err, SELFMAP_ERROR_SIZE, "no memory for the map");
    if (!l->units) {
        selfmap_free_model(l);
        return NULL;
    }
    return l;
}

void selfmap_free_model(t_selfmap_loaded *l)
{
    if (!l) return;
    selfmap_units_free(l->units, l->m.map_size);
    if (l->m.values) sysmem_freeptr(l->m.values);
    sysmem_freeptr(l);
}

void selfmap_swap_model(t_selfmap *x, t_selfmap_loaded *l)
{
    t_selfmap_model *m = &l->m;
    selfmap_lock(x);
    double **units = x->units;
    const t_selfmap_model was = {x->map_size,      x->vector_size, x->value_max, x->learn_count, x->learn_horizon,
                                 x->influence,     x->mutation,    x->lcd,       x->pas,         m->values};
    x->units = l->units;
    x->map_size = m->map_size;
    x->vector_size = m->vector_size;
    x->value_max = m->value_max;
    x->learn_count = m->learn_count;
    x->learn_horizon = m->learn_horizon;
    x->influence = m->influence;
    x->mutation = m->mutation;
    x->lcd = m->lcd;
    x->pas = m->pas;
    x->factor_sigma = 0.0;  // the factors are worked out again for the new radius
    x->factor_count = 0;
    selfmap_unlock(x);
    l->units = units;
    *m = was;
}

static void selfmap_dowrite(t_selfmap *x, t_symbol *s, short argc, t_atom *argv)
{
    (void)argc;
    (void)argv;
    char name[MAX_PATH_CHARS];
    short path = 0;
    if (!maxlearn_file_target((t_object *)x, s, 1, "selfmap.json", name, &path)) return;
    t_selfmap_model m;
    t_dictionary *d = NULL;
    const int captured = selfmap_model_capture(x, &m);
    if (captured) d = selfmap_model_dictionary(&m);
    if (m.values) sysmem_freeptr(m.values);
    if (!d) {
        object_error((t_object *)x, "cannot write %s: %s", name, captured ? "no memory for the file" : "the map is incomplete");
        return;
    }
    if (maxlearn_file_write_dictionary((t_object *)x, d, name, path, name))
        object_post((t_object *)x, "wrote %ld units to %s", m.map_size, name);
}

static void selfmap_doread(t_selfmap *x, t_symbol *s, short argc, t_atom *argv)
{
    (void)argc;
    (void)argv;
    char name[MAX_PATH_CHARS], err[SELFMAP_ERROR_SIZE];
    short path = 0;
    if (!maxlearn_file_target((t_object *)x, s, 0, "selfmap.json", name, &path)) return;
    t_dictionary *d = maxlearn_file_read_dictionary((t_object *)x, name, path, name);
    if (!d) return;
    t_selfmap_loaded *l = selfmap_read_model(d, err);
    object_free(d);
    if (!l) {
        object_error((t_object *)x, "cannot read %s: %s", name, err);
        return;
    }
    const long units = l->m.map_size;
    selfmap_swap_model(x, l);
    selfmap_free_model(l);  // the old map
    object_post((t_object *)x, "read %ld units from %s", units, name);
}

void selfmap_write(t_selfmap *x, t_symbol *s) { defer_low(x, SELFMAP_METHOD(selfmap_dowrite), s, 0, NULL); }

void selfmap_read(t_selfmap *x, t_symbol *s) { defer_low(x, SELFMAP_METHOD(selfmap_doread), s, 0, NULL); }

// ---------------------------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------------------------

static void selfmap_setup(void)
{
    t_class *c = class_new("selfmap", SELFMAP_METHOD(selfmap_new), SELFMAP_METHOD(selfmap_free), (long)sizeof(t_selfmap),
                           NULL, A_GIMME, 0);

    class_addmethod(c, SELFMAP_METHOD(selfmap_assist), "assist", A_CANT, 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_bang), "bang", 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_clear), "clear", 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_dumpmax), "dump_max", 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_dumplcd), "dump_lcd", 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_learn), "learn", A_GIMME, 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_list), "list", A_GIMME, 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_list), "change", A_GIMME, 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_int), "int", A_LONG, 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_write), "write", A_DEFSYM, 0);
    class_addmethod(c, SELFMAP_METHOD(selfmap_read), "read", A_DEFSYM, 0);

    class_register(CLASS_BOX, c);

    t_symbol *l = gensym("long");
    class_addattr(c, attr_offset_new("lcd", l, 0, NULL, NULL, calcoffset(t_selfmap, lcd)));
    class_addattr(c, attr_offset_new("mutation", l, 0, NULL, NULL, calcoffset(t_selfmap, mutation)));
    class_addattr(c, attr_offset_new("influence", l, 0, NULL, NULL, calcoffset(t_selfmap, influence)));
    class_addattr(c, attr_offset_new("pas", gensym("float32"), 0, NULL, NULL, calcoffset(t_selfmap, pas)));

    static const char *const saved[] = {"lcd", "mutation", "influence", "pas"};
    for (const char *name : saved) class_attr_addattr_parse(c, name, "save", l, 0, "1");

    attr_addfilter_clip(class_attr_get(c, gensym("lcd")), 100, 800, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("mutation")), 0, 100, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("influence")), 1, 100, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("pas")), 0, 1, 1, 1);

    static const char *const ordered[][2] = {{"mutation", "1"}, {"lcd", "2"}, {"influence", "3"}, {"pas", "4"}};
    for (const auto &o : ordered) class_attr_addattr_parse(c, o[0], "order", l, 0, o[1]);

    // What the inspector shows for each attribute, and the group it shows it in.
    static const char *const described[][3] = {{"mutation", "Mutation", "Output"},
                                               {"lcd", "Drawing Size", "Drawing"},
                                               {"influence", "Influence", "Learning"},
                                               {"pas", "Learning Step", "Learning"}};
    for (const auto &d : described) {
        CLASS_ATTR_LABEL(c, d[0], 0, d[1]);
        CLASS_ATTR_CATEGORY(c, d[0], 0, d[2]);
    }

    void *pas = class_attr_get(c, gensym("pas"));
    object_method(pas, gensym("setmethod"), gensym("get"), SELFMAP_METHOD(selfmap_get));
    object_method(pas, gensym("setmethod"), gensym("set"), SELFMAP_METHOD(selfmap_set));

    selfmap_class = c;
}

// Max 6.1 and later call ext_main; older hosts call main.
void ext_main(void *r)
{
    (void)r;
    selfmap_setup();
}

C74_EXPORT int main(void)
{
    selfmap_setup();
    return 0;
}
