/* gasnet: a growing neural gas with a utility measure, as a Max external. */
#ifndef GASNET_GASNET_H
#define GASNET_GASNET_H

#include "ext.h"
#include "ext_obex.h"
#include "ext_systhread.h"

/* Longest vector a unit holds, and size of the read-out and output buffers. */
#define GASNET_MAX_VECTOR 256

BEGIN_USING_C_LINKAGE

typedef struct _gasnet {
    t_object ob;
    t_hashtab *units;           /* identifier -> t_unit */
    t_linklist *current_edges;  /* the edge list a removing walk is visiting */
    t_atom *out_atoms;          /* the unit last read out */
    double *dump_buffer;        /* max_units rows of captured vectors, stride vector_size */
    long lcd_busy;              /* atomic: set while a new vector size settles */
    long dump_row;              /* rows of the last capture; with dump_size, under dump_mutex */
    long dump_size;             /* vector size of the last capture */
    long winners_linked;
    long next_id;
    long step_count;
    long read_count;
    long read_target;
    long mutation;
    long max_units;
    long unit_count;            /* written under the mutex, atomically, read without it */
    long vector_size;           /* likewise */
    long value_max;
    long lcd;
    long winner1;
    long winner2;
    long worst;
    long worst_neighbour;
    long least_useful;
    long mu;
    long lambda;
    double epsilon1;
    double epsilon2;
    double alpha;
    double beta;
    double kappa;
    double dist1;
    double dist2;
    double worst_error;
    double worst_neighbour_error;
    double least_utility;
    double *input;
    void *lcd_qelem;
    void *lcd_clock;
    void *list_outlet;
    void *lcd_outlet;
    t_systhread_mutex mutex;
    t_systhread_mutex dump_mutex; /* guards dump_buffer: held to capture or copy, never to post */
} t_gasnet;

typedef struct _unit {
    double error;
    double utility;
    double *vector;     /* GASNET_MAX_VECTOR doubles */
    t_linklist *edges;  /* t_edge items, released by the list */
} t_unit;

typedef struct _edge {
    long neighbour;
    long age;
} t_edge;

extern t_class *gasnet_class;

/* Object. */
void *gasnet_new(t_symbol *s, long argc, t_atom *argv);
void gasnet_free(t_gasnet *x);
void gasnet_assist(t_gasnet *x, void *b, long m, long a, char *s);
void gasnet_bang(t_gasnet *x);
void gasnet_int(t_gasnet *x, t_atom_long n);
void gasnet_clear(t_gasnet *x);
void gasnet_task(t_gasnet *x);

/* Real-valued attributes: float32 to the outside, double fields inside. */
t_max_err gasnet_get_alpha(t_gasnet *x, void *attr, long *argc, t_atom **argv);
t_max_err gasnet_set_alpha(t_gasnet *x, void *attr, long argc, t_atom *argv);
t_max_err gasnet_get_beta(t_gasnet *x, void *attr, long *argc, t_atom **argv);
t_max_err gasnet_set_beta(t_gasnet *x, void *attr, long argc, t_atom *argv);
t_max_err gasnet_get_epsilon1(t_gasnet *x, void *attr, long *argc, t_atom **argv);
t_max_err gasnet_set_epsilon1(t_gasnet *x, void *attr, long argc, t_atom *argv);
t_max_err gasnet_get_epsilon2(t_gasnet *x, void *attr, long *argc, t_atom **argv);
t_max_err gasnet_set_epsilon2(t_gasnet *x, void *attr, long argc, t_atom *argv);
t_max_err gasnet_get_kappa(t_gasnet *x, void *attr, long *argc, t_atom **argv);
t_max_err gasnet_set_kappa(t_gasnet *x, void *attr, long argc, t_atom *argv);

/* Learning and pass-through. */
void gasnet_learn(t_gasnet *x, t_symbol *s, long argc, t_atom *argv);
void gasnet_list(t_gasnet *x, t_symbol *s, long argc, t_atom *argv);

/* Reports. */
void gasnet_dumpmax(t_gasnet *x);
void gasnet_dumplcd(t_gasnet *x);
void gasnet_qtask_lcd(t_gasnet *x);

/* The graph; callers hold the mutex. */
void graf_initialiser(t_gasnet *x);
void graf_clear(t_gasnet *x);
void graf_deplacer(t_gasnet *x, long id, double step);
void graf_connecter(t_gasnet *x, long from, long to);
void graf_deconnecter(t_gasnet *x);
long graf_reproduire(t_gasnet *x, long q, long f);
void graf_tuer(t_gasnet *x);
void graf_evaluer(t_gasnet *x);
/* The unit stored under id, or NULL. */
t_unit *graf_unit(t_gasnet *x, long id);
/* Copies the unit at position target (store order) into out_atoms. */
void graf_lire(t_gasnet *x, long target);
/* Copies every unit vector into dump_buffer, under dump_mutex. */
void graf_capturer(t_gasnet *x);

/* Store callbacks. */
void clear_hashfun(t_hashtab_entry *e, t_gasnet *x);
void gagner_hashfun(t_hashtab_entry *e, t_gasnet *x);
void mourir_hashfun(t_hashtab_entry *e, t_gasnet *x);
void evaluer_hashfun(t_hashtab_entry *e, t_gasnet *x);
void vieillir_hashfun(t_hashtab_entry *e, t_gasnet *x);
void oublier_hashfun(t_hashtab_entry *e, t_gasnet *x);
void lire_hashfun(t_hashtab_entry *e, t_gasnet *x);
void dump_hashfun(t_hashtab_entry *e, t_gasnet *x);

/* Edge callbacks. */
void deplacer_linkfun(t_edge *e, t_gasnet *x);
void evaluer_linkfun(t_edge *e, t_gasnet *x);
void vieillir_linkfun(t_edge *e, t_gasnet *x);
void vieillir_gagnant1_linkfun(t_edge *e, t_gasnet *x);
void vieillir_gagnant2_linkfun(t_edge *e, t_gasnet *x);
void deconnecter_nouveau_linkfun(t_edge *e, t_gasnet *x);
void tuer_linkfun(t_edge *e, t_gasnet *x);
void deconnecter_perdant_linkfun(t_edge *e, t_gasnet *x);

/* Files (gasnet_file.cpp): "write" and "read" defer to the main thread, where the do-functions
 * run. */
void gasnet_write(t_gasnet *x, t_symbol *s);
void gasnet_read(t_gasnet *x, t_symbol *s);
void gasnet_dowrite(t_gasnet *x, t_symbol *s, short argc, t_atom *argv);
void gasnet_doread(t_gasnet *x, t_symbol *s, short argc, t_atom *argv);

/* Units: a record with a zeroed vector and an empty self-releasing edge list (NULL if any part
 * fails), and the release of its parts. */
t_unit *gasnet_unit_new(void);
void gasnet_release_unit_parts(t_unit *u);
long gasnet_clip_vector_size(long n);

/* Fields read outside the mutex while another thread may write them. */
long gasnet_load(const long *p);
void gasnet_store(long *p, long v);
/* Pointers a read replaces under the mutex, checked outside it. */
#if defined(_MSC_VER) && !defined(__clang__)
#define GASNET_LOAD_PTR(p) (*(decltype(p) volatile *)&(p))
#define GASNET_STORE_PTR(p, v) (*(decltype(p) volatile *)&(p) = (v))
#else
#define GASNET_LOAD_PTR(p) __atomic_load_n(&(p), __ATOMIC_RELAXED)
#define GASNET_STORE_PTR(p, v) __atomic_store_n(&(p), (v), __ATOMIC_RELAXED)
#endif

/* Real attributes a read replaces under the mutex, printed by dump_max without it. */
#if defined(_MSC_VER) && !defined(__clang__)
static inline double gasnet_load_real(const double *p) { return *(const volatile double *)p; }
static inline void gasnet_store_real(double *p, double v) { *(volatile double *)p = v; }
#else
static inline double gasnet_load_real(const double *p)
{
    double v;
    __atomic_load(p, &v, __ATOMIC_RELAXED);
    return v;
}
static inline void gasnet_store_real(double *p, double v) { __atomic_store(p, &v, __ATOMIC_RELAXED); }
#endif

END_USING_C_LINKAGE

#endif
