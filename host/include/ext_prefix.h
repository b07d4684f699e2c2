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

#if defined(__GNUC__) || defined(__clang__)
#define C74_PRINTF_FORMAT(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))
#else
#define C74_PRINTF_FORMAT(fmt_index, first_arg)
#endif

#endif
