/* Basic types and error codes of the Max C API. */
#ifndef MAXHOST_MAX_TYPES_H
#define MAXHOST_MAX_TYPES_H

#include <stddef.h>
#include <stdint.h>
#include <stdbool.h>

typedef unsigned int t_uint;
typedef int8_t t_int8;
typedef uint8_t t_uint8;
typedef int16_t t_int16;
typedef uint16_t t_uint16;
typedef int32_t t_int32;
typedef uint32_t t_uint32;
typedef int64_t t_int64;
typedef uint64_t t_uint64;
typedef t_uint32 t_fourcc;

typedef intptr_t t_ptr_int;
typedef uintptr_t t_ptr_uint;
typedef t_ptr_uint t_ptr_size;
typedef t_ptr_int t_int;
typedef char *t_ptr;
typedef t_ptr_uint t_getbytes_size;

/* An A_LONG and an A_FLOAT in an atom: pointer-sized integers and doubles on 64-bit hosts. */
typedef t_ptr_int t_atom_long;
typedef t_ptr_uint t_atom_ulong;
typedef double t_atom_float;
typedef unsigned char t_bool;

typedef t_atom_long t_max_err;

typedef enum e_max_errorcodes {
    MAX_ERR_NONE = 0,
    MAX_ERR_GENERIC = -1,
    MAX_ERR_INVALID_PTR = -2,
    MAX_ERR_DUPLICATE = -3,
    MAX_ERR_OUT_OF_MEM = -4
} e_max_errorcodes;

#endif
