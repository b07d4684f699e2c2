/* Symbols, outlets, clocks, queue elements and the Max window. */
#ifndef MAXHOST_EXT_PROTO_H
#define MAXHOST_EXT_PROTO_H

#include "ext_mess.h"

BEGIN_USING_C_LINKAGE

/** The interned symbol for a name; the same pointer for the same text, from any thread. */
t_symbol *gensym(C74_CONST char *s);
/** The symbol for a text shown to users, translated into Max's language (here: as written). */
t_symbol *gensym_tr(C74_CONST char *s);

/* Outlets. Each new outlet stands left of the outlets made before it. They are freed with their
 * object; object_free releases one earlier. */
void *outlet_new(void *x, C74_CONST char *s);
void *bangout(void *x);
void *intout(void *x);
void *floatout(void *x);
void *listout(void *x);

/* Sending runs every connected object before returning. */
void *outlet_bang(void *o);
void *outlet_int(void *o, t_atom_long n);
void *outlet_float(void *o, double f);
void *outlet_list(void *o, t_symbol *s, short ac, t_atom *av);
void *outlet_anything(void *o, t_symbol *s, short ac, t_atom *av);

/* Clocks: a task that runs once on the scheduler after a delay. Release with object_free or
 * clock_free (ext.h), which is freeobject. */
void *clock_new(void *obj, method fn);
void clock_delay(void *c, long ms);
void clock_fdelay(void *c, double ms);
void clock_unset(void *c);
void clock_getftime(double *time);
long gettime(void);

/* Queue elements: a task that runs once, soon, on the main thread; sets before it runs coalesce. */
typedef void t_qelem;
t_qelem *qelem_new(void *obj, method fn);
void qelem_set(t_qelem *q);
void qelem_unset(t_qelem *q);
void qelem_free(t_qelem *q);
void qelem_front(t_qelem *q);

/** Releases an object, as object_free does. */
void freeobject(t_object *op);

/* Deferred calls: fn(ob, sym, argc, argv) runs on the main thread with a copy of the atoms.
 * defer runs it at once when called on the main thread; defer_low always queues it, behind what
 * is already queued. */
void *defer(void *ob, method fn, t_symbol *sym, short argc, t_atom *argv);
void *defer_low(void *ob, method fn, t_symbol *sym, short argc, t_atom *argv);

/* The Max window: one line per call. */
void post(C74_CONST char *fmt, ...) C74_PRINTF_FORMAT(1, 2);
void error(C74_CONST char *fmt, ...) C74_PRINTF_FORMAT(1, 2);
void cpost(C74_CONST char *fmt, ...) C74_PRINTF_FORMAT(1, 2);
void postatom(t_atom *ap);

END_USING_C_LINKAGE

#endif
