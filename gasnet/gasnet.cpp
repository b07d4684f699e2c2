// gasnet: a growing neural gas with a utility measure.
//
// Units live in a host hash table keyed by their integer identifier; each unit holds a reference
// vector and a linked list of half-edges. One "learn" list is one learning step; "bang", "int" and
// "list"/"change" read units out; "dump_max" prints and "dump_lcd" draws a capture of the vectors.

#include "gasnet.h"

#include <limits.h>
#include <math.h>
#include <time.h>

t_class *gasnet_class = NULL;

// Handlers and callbacks go to the host as untyped methods; the detour through void (*)(void)
// says the cast is deliberate.
#define GASNET_METHOD(f) ((method)(void (*)(void))(f))

static const long gasnet_vector_bytes = GASNET_MAX_VECTOR * (long)sizeof(double);

// ---------------------------------------------------------------------------------------------
// Small helpers
// ---------------------------------------------------------------------------------------------

// Relaxed atomic access for the few fields that one thread reads while another writes them.
#if defined(_MSC_VER) && !defined(__clang__)
long gasnet_load(const long *p) { return *(const volatile long *)p; }
void gasnet_store(long *p, long v) { *(volatile long *)p = v; }
#else
long gasnet_load(const long *p) { return __atomic_load_n(p, __ATOMIC_RELAXED); }
void gasnet_store(long *p, long v) { __atomic_store_n(p, v, __ATOMIC_RELAXED); }
#endif

// The store takes plain integers where it expects a symbol; no symbol is made.
static t_symbol *gasnet_key(long id) { return (t_symbol *)(t_ptr_int)id; }

// Nearest integer, halves away from zero. A value_max near the top of the integer range can put a
// component at a double just past it (2^63), whose plain conversion would wrap; such values saturate.
static t_atom_long gasnet_round(double v)
{
    double r = round(v);
    if (r >= 9223372036854775807.0) return (t_atom_long)LLONG_MAX;
    if (r <= -9223372036854775807.0) return (t_atom_long)LLONG_MIN;
    return (t_atom_long)r;
}

// A random integer in 0..value_max; computed unsigned so that value_max + 1 cannot overflow.
static long gasnet_draw(long value_max)
{
    if (value_max <= 0) return 0;
    unsigned long range = (unsigned long)value_max + 1UL;
    return (long)((unsigned long)rand() % range);
}

long gasnet_clip_vector_size(long n)
{
    if (n < 1) return 1;
    if (n > GASNET_MAX_VECTOR) return GASNET_MAX_VECTOR;
    return n;
}

// Removes the edge being visited from the list being walked (the host's walk survives this).
static void gasnet_remove_current(t_gasnet *x, t_edge *e)
{
    if (!x->current_edges) return;
    t_atom_long i = linklist_objptr2index(x->current_edges, e);
    if (i >= 0) linklist_deleteindex(x->current_edges, (long)i);
}

void gasnet_release_unit_parts(t_unit *u)
{
    if (u->vector) {
        sysmem_freeptr(u->vector);
        u->vector = NULL;
    }
    if (u->edges) {
        linklist_clear(u->edges);
        object_free(u->edges);
        u->edges = NULL;
    }
}

// A unit record with a zeroed vector and an empty, self-releasing edge list; NULL if any part fails.
t_unit *gasnet_unit_new(void)
{
    t_unit *u = (t_unit *)sysmem_newptrclear(sizeof(t_unit));
    if (!u) return NULL;
    u->vector = (double *)sysmem_newptrclear(gasnet_vector_bytes);
    u->edges = linklist_new();
    if (!u->vector || !u->edges) {
        gasnet_release_unit_parts(u);
        sysmem_freeptr(u);
        return NULL;
    }
    linklist_flags(u->edges, OBJ_FLAG_MEMORY);
    return u;
}

static void gasnet_edge_append(t_linklist *edges, long neighbour)
{
    t_edge *e = (t_edge *)sysmem_newptr(sizeof(t_edge));
    if (!e) return;
    e->neighbour = neighbour;
    e->age = 0;
    linklist_append(edges, e);
}

// ---------------------------------------------------------------------------------------------
// Graph
// ---------------------------------------------------------------------------------------------

t_unit *graf_unit(t_gasnet *x, long id)
{
    if (!x->units || id == 0) return NULL;
    t_object *v = NULL;
    if (hashtab_lookup(x->units, gasnet_key(id), &v) != MAX_ERR_NONE) return NULL;
    return (t_unit *)v;
}

void graf_initialiser(t_gasnet *x)
{
    if (!x->units) return;
    long vs = gasnet_clip_vector_size(x->vector_size);
    t_unit *made[2] = {NULL, NULL};
    for (int i = 0; i < 2; i++) {
        t_unit *u = gasnet_unit_new();
        if (!u) continue;
        for (long k = 0; k < vs; k++) u->vector[k] = (double)gasnet_draw(x->value_max);
        u->error = 0.0;
        u->utility = 1.0;
        gasnet_edge_append(u->edges, i == 0 ? 2 : 1);
        made[i] = u;
    }
    long stored = 0;
    for (int i = 0; i < 2; i++) {
        if (!made[i]) continue;
        hashtab_store(x->units, gasnet_key(i + 1), (t_object *)made[i]);
        stored++;
    }
    // The count follows what the store really holds, even when an allocation failed.
    gasnet_store(&x->unit_count, stored);
    x->next_id = 3;
    x->step_count = 0;
}

void clear_hashfun(t_hashtab_entry *e, t_gasnet *x)
{
    (void)x;
    t_unit *u = (t_unit *)e->value;
    if (!u) return;
    // The record itself is left to the store, which releases it when emptied.
    gasnet_release_unit_parts(u);
}

void graf_clear(t_gasnet *x)
{
    if (!x->units) return;
    hashtab_funall(x->units, GASNET_METHOD(clear_hashfun), x);
    hashtab_clear(x->units);
}

void graf_deplacer(t_gasnet *x, long id, double step)
{
    t_unit *u = graf_unit(x, id);
    if (!u || !u->vector) return;
    const double *in = x->input;
    if (!in) return;
    long vs = gasnet_clip_vector_size(x->vector_size);
    for (long k = 0; k < vs; k++) u->vector[k] = (in[k] - u->vector[k]) * step + u->vector[k];
}

void graf_connecter(t_gasnet *x, long from, long to)
{
    t_unit *u = graf_unit(x, from);
    if (!u || !u->edges) return;
    gasnet_edge_append(u->edges, to);
}

void deconnecter_nouveau_linkfun(t_edge *e, t_gasnet *x)
{
    if (e->neighbour == x->worst || e->neighbour == x->worst_neighbour) gasnet_remove_current(x, e);
}

void graf_deconnecter(t_gasnet *x)
{
    if (!x->units) return;
    const long ends[2] = {x->worst, x->worst_neighbour};
    for (int i = 0; i < 2; i++) {
        t_unit *u = graf_unit(x, ends[i]);
        if (!u || !u->edges) continue;
        x->current_edges = u->edges;
        linklist_funall(u->edges, GASNET_METHOD(deconnecter_nouveau_linkfun), x);
    }
    x->current_edges = NULL;
}

long graf_reproduire(t_gasnet *x, long q, long f)
{
    t_unit *uq = graf_unit(x, q);
    t_unit *uf = graf_unit(x, f);
    if (!uq || !uf) return 0;
    uq->error = x->alpha * uq->error;
    uf->error = x->alpha * uf->error;
    if (!uq->vector || !uf->vector) return 0;
    t_unit *r = gasnet_unit_new();
    if (!r) return 0;
    long vs = gasnet_clip_vector_size(x->vector_size);
    for (long k = 0; k < vs; k++) r->vector[k] = (uq->vector[k] + uf->vector[k]) / 2.0;
    r->error = (uq->error + uf->error) / 2.0;
    r->utility = (uq->utility + uf->utility) / 2.0;
    gasnet_edge_append(r->edges, q);
    gasnet_edge_append(r->edges, f);
    long id = x->next_id;
    hashtab_store(x->units, gasnet_key(id), (t_object *)r);
    gasnet_store(&x->unit_count, x->unit_count + 1);
    x->next_id = id + 1;
    return id;
}

void deconnecter_perdant_linkfun(t_edge *e, t_gasnet *x)
{
    if (e->neighbour == x->least_useful) gasnet_remove_current(x, e);
}

void tuer_linkfun(t_edge *e, t_gasnet *x)
{
    t_unit *n = graf_unit(x, e->neighbour);
    if (!n || !n->edges) return;
    x->current_edges = n->edges;
    linklist_funall(n->edges, GASNET_METHOD(deconnecter_perdant_linkfun), x);
}

void graf_tuer(t_gasnet *x)
{
    t_unit *u = graf_unit(x, x->least_useful);
    if (!u) return;
    if (u->edges) linklist_funall(u->edges, GASNET_METHOD(tuer_linkfun), x);
    x->current_edges = NULL;
    gasnet_release_unit_parts(u);
    hashtab_delete(x->units, gasnet_key(x->least_useful));
    gasnet_store(&x->unit_count, x->unit_count - 1);
}

void evaluer_hashfun(t_hashtab_entry *e, t_gasnet *x)
{
    t_unit *u = (t_unit *)e->value;
    if (!u) return;
    if (x->worst == 0 || u->error > x->worst_error) {
        x->worst = (long)(t_ptr_int)e->key;
        x->worst_error = u->error;
    }
}

void evaluer_linkfun(t_edge *e, t_gasnet *x)
{
    t_unit *n = graf_unit(x, e->neighbour);
    if (!n) return;
    if (x->worst_neighbour == 0 || n->error > x->worst_neighbour_error) {
        x->worst_neighbour = e->neighbour;
        x->worst_neighbour_error = n->error;
    }
}

void graf_evaluer(t_gasnet *x)
{
    if (!x->units) return;
    hashtab_funall(x->units, GASNET_METHOD(evaluer_hashfun), x);
    t_unit *u = graf_unit(x, x->worst);
    if (u && u->edges) linklist_funall(u->edges, GASNET_METHOD(evaluer_linkfun), x);
}

void gagner_hashfun(t_hashtab_entry *e, t_gasnet *x)
{
    t_unit *u = (t_unit *)e->value;
    if (!u || !u->vector) return;
    const double *v = u->vector;
    const double *in = x->input;
    long vs = gasnet_clip_vector_size(x->vector_size);
    double d = 0.0;
    for (long k = 0; k < vs; k++) d += pow(v[k] - in[k], 2.0);
    long id = (long)(t_ptr_int)e->key;
    if (x->winner1 == 0) {
        x->winner1 = id;
        x->dist1 = d;
    } else if (x->winner2 == 0) {
        if (x->dist1 > d) {
            x->winner2 = x->winner1;
            x->dist2 = x->dist1;
            x->winner1 = id;
            x->dist1 = d;
        } else {
            x->winner2 = id;
            x->dist2 = d;
        }
    } else if (x->dist1 > d) {
        x->winner2 = x->winner1;
        x->dist2 = x->dist1;
        x->winner1 = id;
        x->dist1 = d;
    } else if (x->dist2 > d) {
        x->winner2 = id;
        x->dist2 = d;
    }
}

// Only the links of winner1 age: its own half-edges here, the other halves in its neighbours' lists
// (vieillir_linkfun), so both halves of a link keep equal ages and go in the same step.
void vieillir_gagnant1_linkfun(t_edge *e, t_gasnet *x)
{
    if (e->neighbour == x->winner2) {
        e->age = 0;
        x->winners_linked = 1;
        return;
    }
    e->age += 1;
    if (e->age > x->mu) gasnet_remove_current(x, e);
}

void vieillir_gagnant2_linkfun(t_edge *e, t_gasnet *x)
{
    if (e->neighbour == x->winner1) e->age = 0;
}

void vieillir_linkfun(t_edge *e, t_gasnet *x)
{
    if (e->neighbour != x->winner1) return;
    e->age += 1;
    if (e->age > x->mu) gasnet_remove_current(x, e);
}

void vieillir_hashfun(t_hashtab_entry *e, t_gasnet *x)
{
    t_unit *u = (t_unit *)e->value;
    if (!u || !u->edges) return;
    long id = (long)(t_ptr_int)e->key;
    x->current_edges = u->edges;
    if (id == x->winner1)
        linklist_funall(u->edges, GASNET_METHOD(vieillir_gagnant1_linkfun), x);
    else if (id == x->winner2)
        linklist_funall(u->edges, GASNET_METHOD(vieillir_gagnant2_linkfun), x);
    else
        linklist_funall(u->edges, GASNET_METHOD(vieillir_linkfun), x);
    x->current_edges = NULL;
}

void mourir_hashfun(t_hashtab_entry *e, t_gasnet *x)
{
    t_unit *u = (t_unit *)e->value;
    if (!u || !u->edges) return;
    if (linklist_getsize(u->edges) == 0) {
        t_symbol *key = e->key;
        gasnet_release_unit_parts(u);
        hashtab_delete(x->units, key);  // releases the record; e is gone after this
        gasnet_store(&x->unit_count, x->unit_count - 1);
        return;
    }
    if (x->least_useful == 0 || u->utility < x->least_utility) {
        x->least_useful = (long)(t_ptr_int)e->key;
        x->least_utility = u->utility;
    }
}

void oublier_hashfun(t_hashtab_entry *e, t_gasnet *x)
{
    t_unit *u = (t_unit *)e->value;
    if (!u) return;
    u->error = u->error - u->error * x->beta;
    u->utility = u->utility - u->utility * x->beta;
}

void deplacer_linkfun(t_edge *e, t_gasnet *x) { graf_deplacer(x, e->neighbour, x->epsilon2); }

void lire_hashfun(t_hashtab_entry *e, t_gasnet *x)
{
    t_unit *u = (t_unit *)e->value;
    if (x->read_count == x->read_target && u && u->vector && x->out_atoms) {
        long vs = gasnet_clip_vector_size(x->vector_size);
        for (long k = 0; k < vs; k++) atom_setlong(x->out_atoms + k, gasnet_round(u->vector[k]));
    }
    x->read_count += 1;
}

void graf_lire(t_gasnet *x, long target)
{
    if (!x->units) return;
    x->read_target = target;
    x->read_count = 0;
    hashtab_funall(x->units, GASNET_METHOD(lire_hashfun), x);
}

void dump_hashfun(t_hashtab_entry *e, t_gasnet *x)
{
    t_unit *u = (t_unit *)e->value;
    if (!u) return;
    // The store never holds more than max_units units; the bound keeps a stray one from writing
    // past the buffer all the same.
    if (u->vector && x->dump_buffer && x->dump_row < x->max_units) {
        long vs = gasnet_clip_vector_size(x->vector_size);
        double *row = x->dump_buffer + x->dump_row * vs;
        for (long k = 0; k < vs; k++) row[k] = u->vector[k];
    }
    x->dump_row += 1;
}

void graf_capturer(t_gasnet *x)
{
    if (!x->units) return;
    // The reports copy the capture under dump_mutex, so none sees two captures mixed.
    if (systhread_mutex_lock(x->dump_mutex) != 0) return;
    x->dump_row = 0;
    x->dump_size = gasnet_clip_vector_size(x->vector_size);
    hashtab_funall(x->units, GASNET_METHOD(dump_hashfun), x);
    systhread_mutex_unlock(x->dump_mutex);
}

// A private copy of the last capture (rows of *vs doubles; the caller frees it), so a report
// prints or draws one whole capture while others capture again. Returns the rows copied: those
// of the capture itself, 0 when there is none or no memory for the copy.
static long gasnet_copy_capture(t_gasnet *x, double **copy, long *vs)
{
    *copy = NULL;
    *vs = gasnet_clip_vector_size(gasnet_load(&x->vector_size));
    if (systhread_mutex_lock(x->dump_mutex) != 0) return 0;
    long rows = x->dump_row < x->max_units ? x->dump_row : x->max_units;
    if (rows > 0) {
        *vs = x->dump_size;
        *copy = (double *)sysmem_newptr((t_ptr_size)rows * (t_ptr_size)*vs * sizeof(double));
        if (*copy)
            memcpy(*copy, x->dump_buffer, (size_t)rows * (size_t)*vs * sizeof(double));
        else
            rows = 0;
    }
    systhread_mutex_unlock(x->dump_mutex);
    return rows;
}

// ---------------------------------------------------------------------------------------------
// Learning and pass-through
// ---------------------------------------------------------------------------------------------

void gasnet_learn(t_gasnet *x, t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    // An empty list would leave vectors of no component; it is ignored outright.
    if (argc <= 0 || !argv) return;
    if (systhread_mutex_trylock(x->mutex) != 0) return;

    if (argc != x->vector_size && argc <= GASNET_MAX_VECTOR) {
        gasnet_store(&x->lcd_busy, 1);
        gasnet_store(&x->vector_size, argc);
        graf_clear(x);
        graf_initialiser(x);
        if (x->lcd_clock) clock_fdelay(x->lcd_clock, 1000.0);
    }
    if (!x->input || !x->units || argc != x->vector_size) {
        systhread_mutex_unlock(x->mutex);
        return;
    }

    for (long k = 0; k < argc; k++) {
        if (atom_gettype(argv + k) == A_LONG) {
            t_atom_long v = atom_getlong(argv + k);
            if (v <= 0)
                x->input[k] = 0.0;
            else if (v >= x->value_max)
                x->input[k] = (double)x->value_max;
            else
                x->input[k] = (double)v;
        } else {
            x->input[k] = (double)gasnet_draw(x->value_max);
        }
    }

    x->winner1 = 0;
    x->winner2 = 0;
    hashtab_funall(x->units, GASNET_METHOD(gagner_hashfun), x);

    t_unit *w = graf_unit(x, x->winner1);
    if (w) {
        w->error += x->dist1;
        w->utility += x->dist2 - x->dist1;
        if (w->vector)
            for (long k = 0; k < argc; k++) w->vector[k] = (x->input[k] - w->vector[k]) * x->epsilon1 + w->vector[k];
        if (w->edges) linklist_funall(w->edges, GASNET_METHOD(deplacer_linkfun), x);
    }

    hashtab_funall(x->units, GASNET_METHOD(vieillir_hashfun), x);

    // A lone unit links to winner 0, which keeps it from being removed as isolated.
    if (!x->winners_linked) {
        graf_connecter(x, x->winner1, x->winner2);
        graf_connecter(x, x->winner2, x->winner1);
    }
    x->winners_linked = 0;

    x->least_useful = 0;
    hashtab_funall(x->units, GASNET_METHOD(mourir_hashfun), x);

    x->worst = 0;
    x->worst_neighbour = 0;
    graf_evaluer(x);

    // Insertion steps; on a full graph the least useful unit may first give way. A zero utility
    // makes the ratio infinite (removal), zero over zero makes it NaN (no removal).
    long lambda = x->lambda > 0 ? x->lambda : 1;
    if (x->step_count % lambda == 0) {
        if (x->worst_error / x->least_utility > x->kappa && x->unit_count == x->max_units) graf_tuer(x);
        if (x->unit_count < x->max_units) {
            long r = graf_reproduire(x, x->worst, x->worst_neighbour);
            graf_connecter(x, x->worst, r);
            graf_connecter(x, x->worst_neighbour, r);
            graf_deconnecter(x);
            hashtab_funall(x->units, GASNET_METHOD(oublier_hashfun), x);
        }
    }

    x->winner1 = 0;
    x->winner2 = 0;
    x->worst = 0;
    x->worst_neighbour = 0;
    x->least_useful = 0;
    x->step_count += 1;
    systhread_mutex_unlock(x->mutex);
}

void gasnet_list(t_gasnet *x, t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    if (!GASNET_LOAD_PTR(x->units) || !x->out_atoms) return;
    if (argc < 0 || (argc > 0 && !argv)) return;
    // Lists longer than the usual buffer pass through whole in a buffer of their own; an outlet
    // carries at most SHRT_MAX atoms, so anything longer is dropped.
    if (argc > SHRT_MAX) return;
    t_atom local[GASNET_MAX_VECTOR];
    t_atom *out = local;
    if (argc > GASNET_MAX_VECTOR) {
        out = (t_atom *)sysmem_newptr((t_ptr_size)argc * sizeof(t_atom));
        if (!out) return;
    }

    systhread_mutex_lock(x->mutex);
    if (x->unit_count > 2) {
        graf_lire(x, rand() % x->unit_count);
        long vs = gasnet_clip_vector_size(x->vector_size);
        for (long i = 0; i < argc; i++) {
            long c = rand() % 100;
            if (x->mutation > c)
                atom_setlong(out + i, atom_getlong(x->out_atoms + i % vs));
            else
                atom_setlong(out + i, atom_getlong(argv + i));
        }
    } else {
        for (long i = 0; i < argc; i++) atom_setlong(out + i, atom_getlong(argv + i));
    }
    systhread_mutex_unlock(x->mutex);

    outlet_list(x->list_outlet, NULL, (short)argc, out);
    if (out != local) sysmem_freeptr(out);
}

// ---------------------------------------------------------------------------------------------
// Object
// ---------------------------------------------------------------------------------------------

void gasnet_bang(t_gasnet *x)
{
    if (!GASNET_LOAD_PTR(x->units) || !x->out_atoms) return;
    t_atom out[GASNET_MAX_VECTOR];
    systhread_mutex_lock(x->mutex);
    if (x->unit_count != 0) graf_lire(x, rand() % x->unit_count);
    // Copied under the lock so that another sender cannot change the atoms or their count
    // between the unlock and the send.
    long vs = gasnet_clip_vector_size(x->vector_size);
    memcpy(out, x->out_atoms, (size_t)vs * sizeof(t_atom));
    systhread_mutex_unlock(x->mutex);
    outlet_list(x->list_outlet, NULL, (short)vs, out);
}

void gasnet_int(t_gasnet *x, t_atom_long n)
{
    if (!GASNET_LOAD_PTR(x->units) || !x->out_atoms) return;
    t_atom out[GASNET_MAX_VECTOR];
    long vs = 0;
    bool send = false;
    systhread_mutex_lock(x->mutex);
    if (x->unit_count != 0 && n >= 1 && n <= x->unit_count) {
        graf_lire(x, (long)(n - 1));
        vs = gasnet_clip_vector_size(x->vector_size);
        memcpy(out, x->out_atoms, (size_t)vs * sizeof(t_atom));
        send = true;
    }
    systhread_mutex_unlock(x->mutex);
    if (send) outlet_list(x->list_outlet, NULL, (short)vs, out);
}

void gasnet_clear(t_gasnet *x)
{
    if (systhread_mutex_trylock(x->mutex) != 0) return;
    graf_clear(x);
    graf_initialiser(x);
    systhread_mutex_unlock(x->mutex);
}

void gasnet_task(t_gasnet *x) { gasnet_store(&x->lcd_busy, 0); }

void gasnet_assist(t_gasnet *x, void *b, long m, long a, char *s)
{
    (void)x;
    (void)b;
    if (m == ASSIST_INLET)
        sprintf(s, "(list) (bang) (int) (symbol) clear, learn, change, dump_max, dump_lcd");
    else if (a == 0)
        sprintf(s, "(list)");
    else
        sprintf(s, "(lcd) dump");
}

#define GASNET_REAL_ACCESSORS(field)                                                      \
    t_max_err gasnet_get_##field(t_gasnet *x, void *attr, long *argc, t_atom **argv)      \
    {                                                                                     \
        (void)attr;                                                                       \
        char alloc;                                                                       \
        atom_alloc(argc, argv, &alloc);                                                   \
        if (*argv) atom_setfloat(*argv, x->field);                                        \
        return 0;                                                                         \
    }                                                                                     \
    t_max_err gasnet_set_##field(t_gasnet *x, void *attr, long argc, t_atom *argv)        \
    {                                                                                     \
        (void)attr;                                                                       \
        if (argc && argv) x->field = atom_getfloat(argv);                                 \
        return 0;                                                                         \
    }

GASNET_REAL_ACCESSORS(alpha)
GASNET_REAL_ACCESSORS(beta)
GASNET_REAL_ACCESSORS(epsilon1)
GASNET_REAL_ACCESSORS(epsilon2)
GASNET_REAL_ACCESSORS(kappa)

void *gasnet_new(t_symbol *s, long argc, t_atom *argv)
{
    (void)s;
    t_gasnet *x = (t_gasnet *)object_alloc(gasnet_class);
    if (!x) return NULL;
    srand((unsigned int)time(NULL));

    x->lcd_busy = 0;
    x->unit_count = 0;
    x->dump_row = 0;
    x->dump_size = 4;
    x->winners_linked = 0;
    x->next_id = 0;
    x->step_count = 0;
    x->read_count = 0;
    x->read_target = 0;
    x->winner1 = 0;
    x->winner2 = 0;
    x->worst = 0;
    x->worst_neighbour = 0;
    x->least_useful = 0;
    x->dist1 = 0.0;
    x->dist2 = 0.0;
    x->worst_error = 0.0;
    x->worst_neighbour_error = 0.0;
    x->least_utility = 0.0;
    x->vector_size = 4;
    x->max_units = 20;
    x->value_max = 127;
    x->lcd = 200;
    x->mutation = 50;
    x->alpha = 0.5;
    x->beta = 0.25;
    x->mu = 5;
    x->lambda = 2;
    x->epsilon1 = 0.3;
    x->epsilon2 = 0.15;
    x->kappa = 3.0;
    x->units = NULL;
    x->current_edges = NULL;
    x->out_atoms = NULL;
    x->dump_buffer = NULL;

    if (argc > 0 && argv && atom_gettype(argv) == A_LONG) {
        t_atom_long n = atom_getlong(argv);
        if (n > 1 && n <= 100) x->max_units = (long)n;
        if (argc > 1 && atom_gettype(argv + 1) == A_LONG) {
            t_atom_long m = atom_getlong(argv + 1);
            if (m > LONG_MAX) m = LONG_MAX;
            if (m > 1) x->value_max = (long)m;
        }
    }
    attr_args_process(x, (short)(argc > SHRT_MAX ? SHRT_MAX : argc), argv);

    x->input = (double *)sysmem_newptrclear(gasnet_vector_bytes);
    x->dump_buffer = (double *)sysmem_newptrclear((t_ptr_size)x->max_units * (t_ptr_size)gasnet_vector_bytes);
    long count = 0;
    char alloc = 0;
    atom_alloc_array(GASNET_MAX_VECTOR, &count, &x->out_atoms, &alloc);
    // Zero integers, so a send before any read-out never hands on undefined atoms.
    if (x->out_atoms)
        for (long k = 0; k < GASNET_MAX_VECTOR; k++) atom_setlong(x->out_atoms + k, 0);
    x->units = hashtab_new(0);
    if (x->units) hashtab_flags(x->units, OBJ_FLAG_MEMORY);
    graf_initialiser(x);

    x->lcd_outlet = outlet_new(x, NULL);
    x->list_outlet = listout(x);
    x->lcd_qelem = qelem_new(x, GASNET_METHOD(gasnet_qtask_lcd));
    x->lcd_clock = clock_new(x, GASNET_METHOD(gasnet_task));
    systhread_mutex_new(&x->mutex, 0);
    systhread_mutex_new(&x->dump_mutex, 0);
    return x;
}

void gasnet_free(t_gasnet *x)
{
    if (x->out_atoms) sysmem_freeptr(x->out_atoms);
    if (x->input) sysmem_freeptr(x->input);
    if (x->dump_buffer) sysmem_freeptr(x->dump_buffer);
    x->out_atoms = NULL;
    x->input = NULL;
    x->dump_buffer = NULL;
    graf_clear(x);
    if (x->units) object_free(x->units);
    x->units = NULL;
    if (x->lcd_qelem) {
        qelem_unset(x->lcd_qelem);
        qelem_free(x->lcd_qelem);
    }
    if (x->lcd_clock) {
        clock_unset(x->lcd_clock);
        object_free(x->lcd_clock);
    }
    if (x->mutex) systhread_mutex_free(x->mutex);
    if (x->dump_mutex) systhread_mutex_free(x->dump_mutex);
}

// ---------------------------------------------------------------------------------------------
// Reports
// ---------------------------------------------------------------------------------------------

void gasnet_dumpmax(t_gasnet *x)
{
    if (!GASNET_LOAD_PTR(x->units) || !GASNET_LOAD_PTR(x->dump_buffer)) return;
    if (systhread_mutex_trylock(x->mutex) == 0) {
        graf_capturer(x);
        systhread_mutex_unlock(x->mutex);
    }
    double *capture = NULL;
    long vs = 0;
    long rows = gasnet_copy_capture(x, &capture, &vs);

    post("GNG : %ld / %ld", gasnet_load(&x->unit_count), gasnet_load(&x->max_units));
    post("mu : %ld", gasnet_load(&x->mu));  // a read may replace them meanwhile
    post("lambda : %ld", gasnet_load(&x->lambda));
    post("alpha : %.2lf", gasnet_load_real(&x->alpha));
    post("beta : %.2lf", gasnet_load_real(&x->beta));
    post("epsilon : %.2lf", gasnet_load_real(&x->epsilon1));
    post("epsilon : %.2lf", gasnet_load_real(&x->epsilon2));
    post("kappa : %.2lf", gasnet_load_real(&x->kappa));
    post(" ");

    t_atom atoms[GASNET_MAX_VECTOR];
    for (long r = 0; r < rows; r++) {
        const double *row = capture + r * vs;
        for (long k = 0; k < vs; k++) atom_setlong(atoms + k, gasnet_round(row[k]));
        char *text = sysmem_newptr(100);
        if (!text) continue;
        long size = 100;
        text[0] = '\0';
        atom_gettext(vs, atoms, &size, &text, 0);
        post("%s", text);
        sysmem_freeptr(text);  // the host may have given a larger block in its place
    }
    post(" ");
    if (capture) sysmem_freeptr(capture);
}

void gasnet_dumplcd(t_gasnet *x)
{
    if (!GASNET_LOAD_PTR(x->units) || !GASNET_LOAD_PTR(x->dump_buffer) || gasnet_load(&x->lcd_busy) == 1) return;
    if (systhread_mutex_trylock(x->mutex) == 0) {
        graf_capturer(x);
        systhread_mutex_unlock(x->mutex);
    }
    if (x->lcd_qelem) qelem_set(x->lcd_qelem);
}

void gasnet_qtask_lcd(t_gasnet *x)
{
    if (!GASNET_LOAD_PTR(x->dump_buffer)) return;
    long max_units = gasnet_load(&x->max_units);  // a read may change it
    double *capture = NULL;
    long vs = 0;
    long rows = gasnet_copy_capture(x, &capture, &vs);
    long lcd = x->lcd;
    double value_max = (double)x->value_max;

    long cw = lcd / max_units;
    if (cw < 2) cw = 2;
    long ch = lcd / vs;
    if (ch < 2) ch = 2;

    t_atom a[5];
    outlet_anything(x->lcd_outlet, gensym("clear"), 0, NULL);
    atom_setlong(a, max_units * cw);
    atom_setlong(a + 1, vs * ch);
    outlet_anything(x->lcd_outlet, gensym("size"), 2, a);

    t_symbol *paintrect = gensym("paintrect");
    for (long i = 0; i < rows; i++) {
        for (long j = 0; j < vs; j++) {
            double g = round(capture[i * vs + j] / value_max * 128.0);
            long colour = g <= 0.0 ? 0 : (g > 255.0 ? 255 : (long)g);
            atom_setlong(a, i * cw);
            atom_setlong(a + 1, j * ch);
            atom_setlong(a + 2, (i + 1) * cw);
            atom_setlong(a + 3, (j + 1) * ch);
            atom_setlong(a + 4, colour);
            outlet_anything(x->lcd_outlet, paintrect, 5, a);
        }
    }
    if (capture) sysmem_freeptr(capture);
}

// ---------------------------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------------------------

static void gasnet_real_attr(t_class *c, const char *name, method get, method set)
{
    void *attr = class_attr_get(c, gensym(name));
    object_method(attr, gensym("setmethod"), gensym("get"), get);
    object_method(attr, gensym("setmethod"), gensym("set"), set);
}

static void gasnet_setup(void)
{
    t_class *c = class_new("gasnet", GASNET_METHOD(gasnet_new), GASNET_METHOD(gasnet_free), (long)sizeof(t_gasnet), NULL,
                           A_GIMME, 0);

    class_addmethod(c, GASNET_METHOD(gasnet_assist), "assist", A_CANT, 0);
    class_addmethod(c, GASNET_METHOD(gasnet_bang), "bang", 0);
    class_addmethod(c, GASNET_METHOD(gasnet_clear), "clear", 0);
    class_addmethod(c, GASNET_METHOD(gasnet_dumpmax), "dump_max", 0);
    class_addmethod(c, GASNET_METHOD(gasnet_dumplcd), "dump_lcd", 0);
    class_addmethod(c, GASNET_METHOD(gasnet_learn), "learn", A_GIMME, 0);
    class_addmethod(c, GASNET_METHOD(gasnet_list), "list", A_GIMME, 0);
    class_addmethod(c, GASNET_METHOD(gasnet_list), "change", A_GIMME, 0);
    class_addmethod(c, GASNET_METHOD(gasnet_int), "int", A_LONG, 0);
    class_addmethod(c, GASNET_METHOD(gasnet_write), "write", A_DEFSYM, 0);
    class_addmethod(c, GASNET_METHOD(gasnet_read), "read", A_DEFSYM, 0);

    class_register(CLASS_BOX, c);

    t_symbol *l = gensym("long");
    t_symbol *f = gensym("float32");
    class_addattr(c, attr_offset_new("lcd", l, 0, NULL, NULL, calcoffset(t_gasnet, lcd)));
    class_addattr(c, attr_offset_new("mutation", l, 0, NULL, NULL, calcoffset(t_gasnet, mutation)));
    class_addattr(c, attr_offset_new("mu", l, 0, NULL, NULL, calcoffset(t_gasnet, mu)));
    class_addattr(c, attr_offset_new("lambda", l, 0, NULL, NULL, calcoffset(t_gasnet, lambda)));
    class_addattr(c, attr_offset_new("alpha", f, 0, NULL, NULL, calcoffset(t_gasnet, alpha)));
    class_addattr(c, attr_offset_new("beta", f, 0, NULL, NULL, calcoffset(t_gasnet, beta)));
    class_addattr(c, attr_offset_new("epsilon1", f, 0, NULL, NULL, calcoffset(t_gasnet, epsilon1)));
    class_addattr(c, attr_offset_new("epsilon2", f, 0, NULL, NULL, calcoffset(t_gasnet, epsilon2)));
    class_addattr(c, attr_offset_new("kappa", f, 0, NULL, NULL, calcoffset(t_gasnet, kappa)));

    static const char *const saved[] = {"lcd", "mutation", "mu", "lambda", "alpha",
                                        "beta", "epsilon1", "epsilon2", "kappa"};
    for (const char *name : saved) class_attr_addattr_parse(c, name, "save", l, 0, "1");

    attr_addfilter_clip(class_attr_get(c, gensym("mutation")), 0, 100, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("mu")), 1, 100, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("lambda")), 1, 100, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("alpha")), 0.01, 1, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("beta")), 0.01, 1, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("epsilon1")), 0.01, 1, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("epsilon2")), 0.01, 1, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("kappa")), 0, 100, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("lcd")), 100, 800, 1, 1);

    static const char *const ordered[][2] = {{"mu", "1"},       {"lambda", "2"},   {"alpha", "3"},
                                             {"beta", "4"},     {"epsilon1", "5"}, {"epsilon2", "6"},
                                             {"kappa", "7"},    {"lcd", "8"},      {"mutation", "9"}};
    for (const auto &o : ordered) class_attr_addattr_parse(c, o[0], "order", l, 0, o[1]);

    // What the inspector shows for each attribute, and the group it shows it in.
    static const char *const described[][3] = {
        {"mu", "Maximum Link Age", "Learning"},         {"lambda", "Insertion Period", "Learning"},
        {"alpha", "Insertion Error Factor", "Learning"}, {"beta", "Error Decay", "Learning"},
        {"epsilon1", "Winner Step", "Learning"},         {"epsilon2", "Neighbour Step", "Learning"},
        {"kappa", "Usefulness Threshold", "Learning"},  {"lcd", "Drawing Size", "Drawing"},
        {"mutation", "Mutation Chance", "Output"}};
    for (const auto &d : described) {
        CLASS_ATTR_LABEL(c, d[0], 0, d[1]);
        CLASS_ATTR_CATEGORY(c, d[0], 0, d[2]);
    }

    gasnet_real_attr(c, "alpha", GASNET_METHOD(gasnet_get_alpha), GASNET_METHOD(gasnet_set_alpha));
    gasnet_real_attr(c, "beta", GASNET_METHOD(gasnet_get_beta), GASNET_METHOD(gasnet_set_beta));
    gasnet_real_attr(c, "epsilon1", GASNET_METHOD(gasnet_get_epsilon1), GASNET_METHOD(gasnet_set_epsilon1));
    gasnet_real_attr(c, "epsilon2", GASNET_METHOD(gasnet_get_epsilon2), GASNET_METHOD(gasnet_set_epsilon2));
    gasnet_real_attr(c, "kappa", GASNET_METHOD(gasnet_get_kappa), GASNET_METHOD(gasnet_set_kappa));

    gasnet_class = c;
}

void ext_main(void *r)
{
    (void)r;
    gasnet_setup();
}

C74_EXPORT int main(void)
{
    gasnet_setup();
    return 0;
}
