/* Platform macros of the Max C API, as this stand-in provides them. */
#ifndef MAXHOST_EXT_PREFIX_H
#define MAXHOST_EXT_PREFIX_H

#include "max_types.h"

#ifdef __cplusplus
#define BEGIN_USING_C_LINKAGE extern "C" {
#define END_USING_C_LINKAGE }
#else
#define BEGIN_USING_C_LINKAGE
#define END_USING_C_LINKAGE
#endif

#define C74_CONST const

#if defined(_WIN32)
#define C74_EXPORT __declspec(dllexport)
#else
#define C74_EXPORT __attribute__((visibility("default")))
#endif

#if defined(_WIN64) || defined(__LP64__)
#define C74_X64
#endif

/* C74_VARFUN(fun, x, s, args...): calls fun with x, s and eight pointer-sized arguments, those not
 * given as 0, so a variadic call passes through a fixed signature. */
#define C74_VARFUN_ARG(p) ((void *)(p))
#define C74_VARFUN_2(f, x, s) f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), 0, 0, 0, 0, 0, 0, 0, 0)
#define C74_VARFUN_3(f, x, s, a) f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), C74_VARFUN_ARG(a), 0, 0, 0, 0, 0, 0, 0)
#define C74_VARFUN_4(f, x, s, a, b) \
    f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), C74_VARFUN_ARG(a), C74_VARFUN_ARG(b), 0, 0, 0, 0, 0, 0)
#define C74_VARFUN_5(f, x, s, a, b, c)                                                                 \
    f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), C74_VARFUN_ARG(a), C74_VARFUN_ARG(b), C74_VARFUN_ARG(c), 0, \
      0, 0, 0, 0)
#define C74_VARFUN_6(f, x, s, a, b, c, d)                                                              \
    f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), C74_VARFUN_ARG(a), C74_VARFUN_ARG(b), C74_VARFUN_ARG(c), \
      C74_VARFUN_ARG(d), 0, 0, 0, 0)
#define C74_VARFUN_7(f, x, s, a, b, c, d, e)                                                           \
    f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), C74_VARFUN_ARG(a), C74_VARFUN_ARG(b), C74_VARFUN_ARG(c), \
      C74_VARFUN_ARG(d), C74_VARFUN_ARG(e), 0, 0, 0)
#define C74_VARFUN_8(f, x, s, a, b, c, d, e, g)                                                        \
    f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), C74_VARFUN_ARG(a), C74_VARFUN_ARG(b), C74_VARFUN_ARG(c), \
      C74_VARFUN_ARG(d), C74_VARFUN_ARG(e), C74_VARFUN_ARG(g), 0, 0)
#define C74_VARFUN_9(f, x, s, a, b, c, d, e, g, h)                                                     \
    f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), C74_VARFUN_ARG(a), C74_VARFUN_ARG(b), C74_VARFUN_ARG(c), \
      C74_VARFUN_ARG(d), C74_VARFUN_ARG(e), C74_VARFUN_ARG(g), C74_VARFUN_ARG(h), 0)
#define C74_VARFUN_10(f, x, s, a, b, c, d, e, g, h, i)                                                 \
    f(C74_VARFUN_ARG(x), C74_VARFUN_ARG(s), C74_VARFUN_ARG(a), C74_VARFUN_ARG(b), C74_VARFUN_ARG(c), \
      C74_VARFUN_ARG(d), C74_VARFUN_ARG(e), C74_VARFUN_ARG(g), C74_VARFUN_ARG(h), C74_VARFUN_ARG(i))
#define C74_VARFUN_PICK(_1, _2, _3, _4, _5, _6, _7, _8, _9, _10, name, ...) name
#define C74_VARFUN(fun, ...)                                                                          \
    C74_VARFUN_PICK(__VA_ARGS__, C74_VARFUN_10, C74_VARFUN_9, C74_VARFUN_8, C74_VARFUN_7, C74_VARFUN_6, \
                    C74_VARFUN_5, C74_VARFUN_4, C74_VARFUN_3, C74_VARFUN_2, )                         \
    (fun, __VA_ARGS__)

#if defined(__GNUC__) || defined(__clang__)
#define C74_PRINTF_FORMAT(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))
#else
#define C74_PRINTF_FORMAT(fmt_index, first_arg)
#endif

#endif
