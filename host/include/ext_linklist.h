/* Linked lists of pointers. */
#ifndef MAXHOST_EXT_LINKLIST_H
#define MAXHOST_EXT_LINKLIST_H

#include "ext_mess.h"

BEGIN_USING_C_LINKAGE

struct _linklist;
typedef struct _linklist t_linklist;

t_linklist *linklist_new(void);
void linklist_flags(t_linklist *x, long flags);
t_atom_long linklist_getflags(t_linklist *x);
t_atom_long linklist_append(t_linklist *x, void *o);
t_atom_long linklist_insertindex(t_linklist *x, void *o, long index);
t_atom_long linklist_getsize(t_linklist *x);
void *linklist_getindex(t_linklist *x, long index);
/** The item after p, also stored in *next; NULL at the end or when p is not in the list. */
void *linklist_next(t_linklist *x, void *p, void **next);
void *linklist_prev(t_linklist *x, void *p, void **prev);
t_atom_long linklist_objptr2index(t_linklist *x, void *p);
/** Removes the item at index and lets it go as the list's flags say. Returns the index or -1. */
t_atom_long linklist_deleteindex(t_linklist *x, long index);
/** Removes the item at index without letting it go. */
long linklist_chuckindex(t_linklist *x, long index);
long linklist_chuckobject(t_linklist *x, void *o);
void linklist_clear(t_linklist *x);
/** Calls fun(item, arg) for every item in order; fun may remove the item it is visiting. */
void linklist_funall(t_linklist *x, method fun, void *arg);
/** The first item for which cmpfn(item, cmpdata) is non-zero, in *o; its index, or -1. */
t_atom_long linklist_findfirst(t_linklist *x, void **o, long cmpfn(void *, void *), void *cmpdata);
/** Puts the items in a random order (from rand()) that stays. */
void linklist_shuffle(t_linklist *x);
void linklist_reverse(t_linklist *x);

END_USING_C_LINKAGE

#endif
