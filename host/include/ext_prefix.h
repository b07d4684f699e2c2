/* Basic types and platform macros of the Max C API, as this stand-in provides them. */
#ifndef MAXHOST_EXT_PREFIX_H
#define MAXHOST_EXT_PREFIX_H

#include <stddef.h>
#include <stdint.h>

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

typedef int8_t t_int8;
typedef uint8_t t_uint8;
typedef int16_t t_int16;
typedef uint16_t t_uint16;
typedef int32_t t_int32;
typedef uint32_t t_uint32;
typedef int64_t t_int64;
typedef uint64_t t_uint64;

typedef intptr_t t_ptr_int;
typedef uintptr_t t_ptr_uint;
typedef unsigned long t_ptr_size;
typedef char *t_ptr;
typedef long t_int;
typedef unsigned long t_uint;

typedef int64_t t_atom_long;
typedef uint64_t t_atom_ulong;
typedef double t_atom_float;
typedef float t_float;
typedef double t_double;
typedef unsigned char t_bool;

typedef long t_max_err;

/** Any message handler, called through the host with the argument types it registered. */
typedef void *(*method)(void *, ...);
typedef long (*t_intmethod)(void *, ...);

#endif
