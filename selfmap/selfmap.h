/* selfmap: a one-dimensional self-organising map, as a Max external. */
#ifndef SELFMAP_SELFMAP_H
#define SELFMAP_SELFMAP_H

#include "ext.h"
#include "ext_obex.h"
#include "ext_systhread.h"

/* Components a unit vector holds, longest list "learn" takes, and size of the output buffer. */
#define SELFMAP_MAX_VECTOR 256
/* Largest map. */
#define SELFMAP_MAX_UNITS 100

BEGIN_USING_C_LINKAGE

typedef struct _selfmap {
    t_object ob;
    double **units;         /* map_size unit vectors of SELFMAP_MAX_VECTOR doubles */
    long map_size;          /* fixed after creation */
    long vector_size;       /* under the mutex */
    long value_max;         /* fixed after creation */
    long learn_count;       /* under the mutex */
    long mutation;
    long influence;
    long learn_horizon;     /* fixed after creation */
    long lcd;
    long dump_busy;         /* atomic: set by "dump_max", cleared by the clock task */
    double pas;             /* under the mutex (the accessors take it) */
    t_atom *out_atoms;
    void *lcd_qelem;
    void *dump_clock;
    void *list_outlet;
    void *lcd_outlet;
    /* The lock that keeps learning apart from the readers, and the learning's
       neighbourhood factors by distance from the winner, kept while the radius stays the same. */
    t_systhread_mutex mutex;
    double factor_sigma;    /* radius the factors were computed for */
    long factor_count;      /* factors[0 .. factor_count - 1] are valid for factor_sigma */
    double factors[SELFMAP_MAX_UNITS];
} t_selfmap;

extern t_class *selfmap_class;

/* Object. */
void *selfmap_new(t_symbol *s, long argc, t_atom *argv);
void selfmap_free(t_selfmap *x);
void selfmap_assist(t_selfmap *x, void *b, long m, long a, char *s);
void selfmap_bang(t_selfmap *x);
void selfmap_int(t_selfmap *x, t_atom_long n);
void selfmap_clear(t_selfmap *x);
void selfmap_task_max(t_selfmap *x);
/* Model files: queued to the main thread, where the file is written or read and swapped in. */
void selfmap_write(t_selfmap *x, t_symbol *s);
void selfmap_read(t_selfmap *x, t_symbol *s);
/* The steps of "read", for benchmarks: a map read and checked from a dictionary (NULL with the
   reason in err, SELFMAP_ERROR_SIZE bytes), the swap that puts it in place under the lock (it then
   holds the object's old map) and its release. */
#define SELFMAP_ERROR_SIZE 256
typedef struct _selfmap_loaded t_selfmap_loaded;
t_selfmap_loaded *selfmap_read_model(const t_dictionary *d, char *err);
void selfmap_swap_model(t_selfmap *x, t_selfmap_loaded *l);
void selfmap_free_model(t_selfmap_loaded *l);

/* "pas": float32 to the outside, a double field inside. */
t_max_err selfmap_get(t_selfmap *x, void *attr, long *argc, t_atom **argv);
t_max_err selfmap_set(t_selfmap *x, void *attr, long argc, t_atom *argv);

/* Learning and pass-through. */
void selfmap_learn(t_selfmap *x, t_symbol *s, long argc, t_atom *argv);
void selfmap_list(t_selfmap *x, t_symbol *s, long argc, t_atom *argv);

/* Reports. */
void selfmap_dumpmax(t_selfmap *x);
void selfmap_dumplcd(t_selfmap *x);
void selfmap_qtask_lcd(t_selfmap *x);

/* The map; callers hold the mutex (or own the object alone, as at creation). */
void carte_init(t_selfmap *x);
/* Number of the unit nearest to v (vector_size components), the lowest of equals; -1 without units. */
long carte_gagnant(t_selfmap *x, const double *v);
/* exp(-(i - w)^2 / (2 sigma^2)) with sigma = influence^(1 - learn_count / learn_horizon). */
double carte_influence(t_selfmap *x, long w, long i);
/* u += (alpha h) (v - u) over vector_size components; alpha = pas, or pas / e at the horizon. */
void vecteur_modifier(t_selfmap *x, double *u, const double *v, double h);

/* For tests: 0 makes the map run its portable kernels even where AVX2 is there, 1 the AVX2 ones
   where the processor has them. Returns the previous choice. Not to be called while learning. */
long selfmap_wide_kernels(long on);

/* dump_busy, which two threads touch. */
long selfmap_load(const long *p);
void selfmap_store(long *p, long v);

END_USING_C_LINKAGE

#endif
