/* Objects, symbols, atoms and message types. */
#ifndef MAXHOST_EXT_MESS_H
#define MAXHOST_EXT_MESS_H

#include "ext_prefix.h"

BEGIN_USING_C_LINKAGE

struct maxclass;
typedef struct maxclass t_class;

struct inlet;
typedef struct inlet t_inlet;
struct outlet;
typedef struct outlet t_outlet;

/** A message handler, registered through this pointer type and called with the argument types
 *  it was registered with. */
typedef void *(*method)(void *);
typedef long (*t_intmethod)(void *, ...);

/** The header every object record starts with: four pointer-sized fields, as in Max, so a record
 *  has the same layout here and there. Its fields belong to the host. */
typedef struct object {
    t_class *o_messlist;     /* the object's class */
    t_ptr_int o_magic;       /* marks a live object */
    t_inlet *o_inlet;
    t_outlet *o_outlet;      /* leftmost outlet; the rest follow */
} t_object;

typedef struct symbol {
    char *s_name;
    t_object *s_thing;
} t_symbol;

typedef enum e_max_atomtypes {
    A_NOTHING = 0,
    A_LONG = 1,
    A_FLOAT = 2,
    A_SYM = 3,
    A_OBJ = 4,
    A_DEFLONG = 5,
    A_DEFFLOAT = 6,
    A_DEFSYM = 7,
    A_GIMME = 8,
    A_CANT = 9,
    A_SEMI = 10,
    A_COMMA = 11,
    A_DOLLAR = 12,
    A_DOLLSYM = 13,
    A_GIMMEBACK = 14,
    A_DEFER = 0x41,
    A_USURP = 0x42,
    A_DEFER_LOW = 0x43,
    A_USURP_LOW = 0x44
} e_max_atomtypes;

union word {
    t_atom_long w_long;
    t_atom_float w_float;
    t_symbol *w_sym;
    t_object *w_obj;
};

typedef struct atom {
    short a_type;
    union word a_w;
} t_atom;

/** Byte offset of a field in a record, for attributes bound to fields. */
#define calcoffset(x, y) ((long)offsetof(x, y))
#define structmembersize(x, y) (sizeof(((x *)0)->y))

END_USING_C_LINKAGE

#endif
