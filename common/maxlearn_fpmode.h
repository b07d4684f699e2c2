/* Flush-to-zero for the handlers that do heavy floating-point work.
 *
 * Values below the smallest normal double (about 2.2e-308) cost a hundred times more per
 * operation on many processors. A handler sets the thread's flush-to-zero and denormals-are-zero
 * modes on entry and puts the saved control state back before it returns, so nothing else on the
 * thread sees the change:
 *
 *     t_maxlearn_fpmode fp;
 *     maxlearn_fpmode_enter(&fp);
 *     ... passes ...
 *     maxlearn_fpmode_leave(&fp);
 *
 * x86-64 (MXCSR: FTZ and DAZ) and arm64 (FPCR: FZ, which also reads subnormal inputs as 0);
 * elsewhere both calls do nothing. Header only, plain C, no host dependency.
 *
 * Compilers do not tie floating-point operations to the control register, so each switch is also
 * a compiler barrier: the handler's loads and stores, and the arithmetic on them, stay between
 * the two calls. */
#ifndef MAXLEARN_FPMODE_H
#define MAXLEARN_FPMODE_H

/* MAXLEARN_FPMODE_FLUSHES: 1 where the guard flushes, 0 where it does nothing. */
#if defined(__x86_64__) || defined(_M_X64)
#define MAXLEARN_FPMODE_FLUSHES 1
#include <xmmintrin.h>
#if defined(__GNUC__) || defined(__clang__)
#define MAXLEARN_FPMODE_BARRIER() __asm__ __volatile__("" : : : "memory")
#elif defined(_MSC_VER)
#include <intrin.h>
#define MAXLEARN_FPMODE_BARRIER() _ReadWriteBarrier()
#else
#define MAXLEARN_FPMODE_BARRIER() ((void)0)
#endif
#define MAXLEARN_FPMODE_FLUSH 0x8040u /* MXCSR bit 15 flush-to-zero, bit 6 denormals-are-zero */
typedef struct _maxlearn_fpmode {
    unsigned int saved;
} t_maxlearn_fpmode;
static inline void maxlearn_fpmode_enter(t_maxlearn_fpmode *m)
{
    m->saved = _mm_getcsr();
    _mm_setcsr(m->saved | MAXLEARN_FPMODE_FLUSH);
    MAXLEARN_FPMODE_BARRIER();
}
static inline void maxlearn_fpmode_leave(const t_maxlearn_fpmode *m)
{
    MAXLEARN_FPMODE_BARRIER();
    _mm_setcsr(m->saved);
}

#elif defined(__aarch64__) && (defined(__GNUC__) || defined(__clang__))
#define MAXLEARN_FPMODE_FLUSHES 1
#define MAXLEARN_FPMODE_FLUSH (1ull << 24) /* FPCR bit 24 FZ */
typedef struct _maxlearn_fpmode {
    unsigned long long saved;
} t_maxlearn_fpmode;
static inline void maxlearn_fpmode_enter(t_maxlearn_fpmode *m)
{
    unsigned long long fpcr;
    __asm__ __volatile__("mrs %0, fpcr" : "=r"(fpcr) : : "memory");
    m->saved = fpcr;
    fpcr |= MAXLEARN_FPMODE_FLUSH;
    __asm__ __volatile__("msr fpcr, %0" : : "r"(fpcr) : "memory");
}
static inline void maxlearn_fpmode_leave(const t_maxlearn_fpmode *m)
{
    __asm__ __volatile__("msr fpcr, %0" : : "r"(m->saved) : "memory");
}

#else
#define MAXLEARN_FPMODE_FLUSHES 0
typedef struct _maxlearn_fpmode {
    int unused;
} t_maxlearn_fpmode;
static inline void maxlearn_fpmode_enter(t_maxlearn_fpmode *m) { m->unused = 0; }
static inline void maxlearn_fpmode_leave(const t_maxlearn_fpmode *m) { (void)m; }
#endif

#endif
