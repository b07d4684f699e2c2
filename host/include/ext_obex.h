/* Classes, objects, attributes and atoms. */
#ifndef MAXHOST_EXT_OBEX_H
#define MAXHOST_EXT_OBEX_H

#include "ext_proto.h"
#include "ext_sysmem.h"
#include "ext_linklist.h"
#include "ext_hashtab.h"
#include "ext_atomarray.h"
#include "ext_dictionary.h"
#include "ext_assist.h"

BEGIN_USING_C_LINKAGE

/** What a container does with an item it lets go of (delete, clear, free). */
typedef enum e_max_datastore_flags {
    OBJ_FLAG_OBJ = 0x00000000,    /* object_free the item */
    OBJ_FLAG_REF = 0x00000001,    /* leave the item alone */
    OBJ_FLAG_DATA = 0x00000002,   /* leave the item alone (plain data) */
    OBJ_FLAG_MEMORY = 0x00000004, /* sysmem_freeptr the item */
    OBJ_FLAG_SILENT = 0x00000100,
    OBJ_FLAG_INHERITABLE = 0x00000200,
    OBJ_FLAG_ITERATING = 0x00001000,
    OBJ_FLAG_DEBUG = 0x40000000
} e_max_datastore_flags;

#define CLASS_BOX gensym("box")
#define CLASS_NOBOX gensym("nobox")

/* Attribute flags; the host only keeps them. */
typedef enum e_max_attrflags {
    ATTR_FLAGS_NONE = 0x0000000,
    ATTR_GET_OPAQUE = 0x00000001,
    ATTR_SET_OPAQUE = 0x00000002,
    ATTR_GET_OPAQUE_USER = 0x00000100,
    ATTR_SET_OPAQUE_USER = 0x00000200,
    ATTR_GET_DEFER = 0x00010000,
    ATTR_GET_USURP = 0x00020000,
    ATTR_GET_DEFER_LOW = 0x00040000,
    ATTR_GET_USURP_LOW = 0x00080000,
    ATTR_SET_DEFER = 0x01000000,
    ATTR_SET_USURP = 0x02000000,
    ATTR_SET_DEFER_LOW = 0x04000000,
    ATTR_SET_USURP_LOW = 0x08000000
} e_max_attrflags;

/* Classes. The type list after `type` ends with 0. */
t_class *class_new(C74_CONST char *name, C74_CONST method mnew, C74_CONST method mfree, long size,
                   C74_CONST method mmenu, short type, ...);
t_max_err class_free(t_class *c);
/** Adds a message handler; the argument types follow the name and end with 0. */
t_max_err class_addmethod(t_class *c, C74_CONST method m, C74_CONST char *name, ...);
t_max_err class_register(t_symbol *name_space, t_class *c);
t_class *class_findbyname(t_symbol *name_space, t_symbol *classname);
/** "methods" gives the class's hash table of method objects (name -> method object). */
void *class_extra_lookup(t_class *c, t_symbol *s);
t_symbol *class_nameget(t_class *c);

/* Attributes. An offset attribute reads and writes its field by type: "char", "long" (a C long),
 * "atom_long", "float32", "float64", "symbol", "atom"; custom accessors replace the field access. */
t_object *attr_offset_new(C74_CONST char *name, C74_CONST t_symbol *type, long flags, C74_CONST method mget,
                          C74_CONST method mset, long offset);
t_max_err class_addattr(t_class *c, t_object *attr);
void *class_attr_get(t_class *c, t_symbol *attrname);
/** Adds metadata (such as "save", "order", "style", "enumvals") to a class attribute. */
t_max_err class_attr_addattr_parse(t_class *c, C74_CONST char *attrname, C74_CONST char *attrname2,
                                   t_symbol *type, long flags, C74_CONST char *parsestr);
/** The same, with the value built from format characters and arguments: 'c', 'h', 'i' (int), 'l'
 * (long), 'f', 'd' (double), 's' (t_symbol *). */
t_max_err class_attr_addattr_format(t_class *c, C74_CONST char *attrname, C74_CONST char *attrname2,
                                    t_symbol *type, long flags, C74_CONST char *fmt, ...);
t_max_err attr_addfilter_clip(void *x, double min, double max, long usemin, long usemax);
/** Applies `@name value ...` arguments to an object. */
void attr_args_process(void *x, short ac, t_atom *av);
/** Number of leading atoms before the first `@name`. */
long attr_args_offset(short ac, t_atom *av);

/* Objects. */
void *object_alloc(t_class *c);
t_max_err object_free(void *x);
void *object_new_typed(t_symbol *name_space, t_symbol *classname, long ac, t_atom *av);
t_symbol *object_classname(void *x);
/** Calls a handler by name with untyped pointer arguments (A_CANT handlers among them). On 64-bit
 * targets a call goes through object_method_imp with the arguments not given as 0. */
void *object_method(void *x, t_symbol *s, ...);
void *object_method_imp(void *x, void *sym, void *p1, void *p2, void *p3, void *p4, void *p5, void *p6,
                        void *p7, void *p8);
#ifdef C74_X64
#define object_method(...) C74_VARFUN(object_method_imp, __VA_ARGS__)
#endif
t_max_err object_method_typed(void *x, t_symbol *s, long ac, t_atom *av, t_atom *rv);
/** Adds a metadata attribute to one object (for instance a method object). */
t_max_err object_addattr_parse(t_object *x, C74_CONST char *attrname, t_symbol *type, long flags,
                               C74_CONST char *parsestr);
t_max_err object_attr_getvalueof(void *x, t_symbol *s, long *argc, t_atom **argv);
t_max_err object_attr_setvalueof(void *x, t_symbol *s, long argc, t_atom *argv);
t_atom_long object_attr_getlong(void *x, t_symbol *s);
t_max_err object_attr_setlong(void *x, t_symbol *s, t_atom_long c);
t_atom_float object_attr_getfloat(void *x, t_symbol *s);
t_max_err object_attr_setfloat(void *x, t_symbol *s, t_atom_float c);
void object_post(t_object *x, C74_CONST char *s, ...) C74_PRINTF_FORMAT(2, 3);
void object_error(t_object *x, C74_CONST char *s, ...) C74_PRINTF_FORMAT(2, 3);

/* Atoms. Getters convert between integer and float; a float read as an integer is truncated. */
t_max_err atom_setlong(t_atom *a, t_atom_long b);
t_max_err atom_setfloat(t_atom *a, double b);
t_max_err atom_setsym(t_atom *a, t_symbol *b);
t_max_err atom_setobj(t_atom *a, void *b);
t_atom_long atom_getlong(C74_CONST t_atom *a);
t_atom_float atom_getfloat(C74_CONST t_atom *a);
t_symbol *atom_getsym(C74_CONST t_atom *a);
void *atom_getobj(C74_CONST t_atom *a);
long atom_gettype(C74_CONST t_atom *a);
/** The atoms as Max writes them, into *text (allocated when *text is NULL, else at most *textsize
 *  bytes, always terminated). */
t_max_err atom_gettext(long ac, t_atom *av, long *textsize, char **text, long flags);
/** Parses text into atoms (allocated when *av is NULL). */
t_max_err atom_setparse(long *ac, t_atom **av, C74_CONST char *parsestr);
/** Makes *av point to at least one atom, allocating one when *av is NULL. */
t_max_err atom_alloc(long *ac, t_atom **av, char *alloc);
/** Makes *av point to at least minsize atoms, allocating when needed. */
t_max_err atom_alloc_array(long minsize, long *ac, t_atom **av, char *alloc);

END_USING_C_LINKAGE

#include "ext_obex_util.h"

#endif
