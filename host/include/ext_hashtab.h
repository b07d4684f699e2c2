/* Hash tables keyed by symbols (or by plain integers passed as symbol pointers). */
#ifndef MAXHOST_EXT_HASHTAB_H
#define MAXHOST_EXT_HASHTAB_H

#include "ext_linklist.h"

BEGIN_USING_C_LINKAGE

struct _hashtab;
typedef struct _hashtab t_hashtab;

/** One entry, as hashtab_funall hands it to its function. */
typedef struct _hashtab_entry {
    t_object ob;
    t_symbol *key;
    t_object *value;
    long flags;
    struct _hashtab *parent;
} t_hashtab_entry;

/** slotcount 0 takes the host's default. Keys are compared and hashed as pointers, never read. */
t_hashtab *hashtab_new(long slotcount);
void hashtab_flags(t_hashtab *x, long flags);
t_atom_long hashtab_getflags(t_hashtab *x);
/** Stores val under key; an existing value under that key is let go as the table's flags say. */
t_max_err hashtab_store(t_hashtab *x, t_symbol *key, t_object *val);
t_max_err hashtab_lookup(t_hashtab *x, t_symbol *key, t_object **val);
/** Removes the entry and lets its value go as the table's flags say. */
t_max_err hashtab_delete(t_hashtab *x, t_symbol *key);
/** Removes the entry without letting its value go. */
t_max_err hashtab_chuckkey(t_hashtab *x, t_symbol *key);
/** Removes every entry, letting each value go as the table's flags say. */
t_max_err hashtab_clear(t_hashtab *x);
t_atom_long hashtab_getsize(t_hashtab *x);
/** Calls fun(entry, arg) once per entry, in an order that stays the same while the table is
 *  unchanged; fun may delete the entry it is visiting. */
void hashtab_funall(t_hashtab *x, method fun, void *arg);
t_max_err hashtab_getkeys(t_hashtab *x, long *kc, t_symbol ***kv);

END_USING_C_LINKAGE

#endif
