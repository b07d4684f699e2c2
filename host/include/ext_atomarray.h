/* Growable arrays of atoms. */
#ifndef MAXHOST_EXT_ATOMARRAY_H
#define MAXHOST_EXT_ATOMARRAY_H

#include "ext_mess.h"

BEGIN_USING_C_LINKAGE

struct _atomarray;
typedef struct _atomarray t_atomarray;

t_atomarray *atomarray_new(long ac, t_atom *av);
void atomarray_flags(t_atomarray *x, long flags);
t_max_err atomarray_setatoms(t_atomarray *x, long ac, t_atom *av);
/** The array's own atoms (not a copy), valid until the array changes. */
t_max_err atomarray_getatoms(t_atomarray *x, long *ac, t_atom **av);
t_max_err atomarray_copyatoms(t_atomarray *x, long *ac, t_atom **av);
t_atom_long atomarray_getsize(t_atomarray *x);
t_max_err atomarray_getindex(t_atomarray *x, long index, t_atom *av);
void atomarray_clear(t_atomarray *x);
void atomarray_appendatom(t_atomarray *x, t_atom *a);
void atomarray_appendatoms(t_atomarray *x, long ac, t_atom *av);

END_USING_C_LINKAGE

#endif
