/* Dictionaries: keyed collections of atoms, atom arrays and sub-dictionaries, kept in the order
 * their keys were added. Release one with object_free; it releases what it holds. */
#ifndef MAXHOST_EXT_DICTIONARY_H
#define MAXHOST_EXT_DICTIONARY_H

#include "ext_mess.h"
#include "ext_atomarray.h"

BEGIN_USING_C_LINKAGE

struct _dictionary;
typedef struct _dictionary t_dictionary;

t_dictionary *dictionary_new(void);

/* Appending under a key that exists replaces its value. appendatoms copies the atoms; the
 * dictionary takes ownership of an appended atom array or dictionary. */
t_max_err dictionary_appendlong(t_dictionary *d, t_symbol *key, t_atom_long value);
t_max_err dictionary_appendfloat(t_dictionary *d, t_symbol *key, double value);
t_max_err dictionary_appendsym(t_dictionary *d, t_symbol *key, t_symbol *value);
t_max_err dictionary_appendatom(t_dictionary *d, t_symbol *key, t_atom *value);
t_max_err dictionary_appendstring(t_dictionary *d, t_symbol *key, const char *value);
t_max_err dictionary_appendatoms(t_dictionary *d, t_symbol *key, long argc, t_atom *argv);
t_max_err dictionary_appendatomarray(t_dictionary *d, t_symbol *key, t_object *value);
t_max_err dictionary_appenddictionary(t_dictionary *d, t_symbol *key, t_object *value);

/* Getters fail (MAX_ERR_GENERIC) for a missing key or a value of another kind; getlong and
 * getfloat convert between integers and reals. getatoms hands out the dictionary's own atoms
 * (one atom for a single value), valid until the entry changes; copyatoms allocates a copy to be
 * freed with sysmem_freeptr. */
t_max_err dictionary_getlong(C74_CONST t_dictionary *d, t_symbol *key, t_atom_long *value);
t_max_err dictionary_getfloat(C74_CONST t_dictionary *d, t_symbol *key, double *value);
t_max_err dictionary_getsym(C74_CONST t_dictionary *d, t_symbol *key, t_symbol **value);
t_max_err dictionary_getatom(C74_CONST t_dictionary *d, t_symbol *key, t_atom *value);
t_max_err dictionary_getstring(C74_CONST t_dictionary *d, t_symbol *key, const char **value);
t_max_err dictionary_getatoms(C74_CONST t_dictionary *d, t_symbol *key, long *argc, t_atom **argv);
t_max_err dictionary_copyatoms(C74_CONST t_dictionary *d, t_symbol *key, long *argc, t_atom **argv);
t_max_err dictionary_getatomarray(C74_CONST t_dictionary *d, t_symbol *key, t_object **value);
t_max_err dictionary_getdictionary(C74_CONST t_dictionary *d, t_symbol *key, t_object **value);

long dictionary_entryisstring(C74_CONST t_dictionary *d, t_symbol *key);
long dictionary_entryisatomarray(C74_CONST t_dictionary *d, t_symbol *key);
long dictionary_entryisdictionary(C74_CONST t_dictionary *d, t_symbol *key);
long dictionary_hasentry(C74_CONST t_dictionary *d, t_symbol *key);
t_atom_long dictionary_getentrycount(C74_CONST t_dictionary *d);
/** The keys in order, in an array to be released with dictionary_freekeys. */
t_max_err dictionary_getkeys(C74_CONST t_dictionary *d, long *numkeys, t_symbol ***keys);
void dictionary_freekeys(t_dictionary *d, long numkeys, t_symbol **keys);
t_max_err dictionary_deleteentry(t_dictionary *d, t_symbol *key);
t_max_err dictionary_clear(t_dictionary *d);

/* JSON files. read makes a new dictionary in *d (released by the caller with object_free);
 * write replaces the file only once the whole text is written. */
t_max_err dictionary_read(const char *filename, short path, t_dictionary **d);
t_max_err dictionary_write(t_dictionary *d, const char *filename, short path);

END_USING_C_LINKAGE

#endif
