// gasnet's "write" and "read": the whole model as a Max dictionary in a JSON file.
//
// Both run on the main thread (defer_low). "write" copies the model under the mutex into plain
// arrays and builds and writes the dictionary after letting go; "read" checks the whole file into
// a new graph without the mutex, then swaps it in under the mutex at once. Nothing is posted while
// the mutex is held, and a failure leaves the model as it was.

#include "gasnet.h"
#include "maxlearn_modelfile.h"

#include <limits.h>
#include <math.h>
#include <stdarg.h>
#include <string.h>

#define GASNET_METHOD(f) ((method)(void (*)(void))(f))

static const char *const gasnet_format = "maxlearn.gasnet";
static const t_atom_long gasnet_file_version = 1;

// Keys of the file, made once.
static t_symbol *k_format, *k_version, *k_vector_size, *k_max_units, *k_value_max, *k_mu, *k_lambda, *k_alpha,
    *k_beta, *k_epsilon1, *k_epsilon2, *k_kappa, *k_lcd, *k_mutation, *k_step_count, *k_next_id, *k_unit_count,
    *k_unit_ids, *k_errors, *k_utilities, *k_vectors, *k_edge_counts, *k_edges, *k_last_readout;

static void gasnet_file_keys(void)
{
    if (k_last_readout) return;  // set last: the keys are all made once it is
    k_format = gensym("format");
    k_version = gensym("version");
    k_vector_size = gensym("vector_size");
    k_max_units = gensym("max_units");
    k_value_max = gensym("value_max");
    k_mu = gensym("mu");
    k_lambda = gensym("lambda");
    k_alpha = gensym("alpha");
    k_beta = gensym("beta");
    k_epsilon1 = gensym("epsilon1");
    k_epsilon2 = gensym("epsilon2");
    k_kappa = gensym("kappa");
    k_lcd = gensym("lcd");
    k_mutation = gensym("mutation");
    k_step_count = gensym("step_count");
    k_next_id = gensym("next_id");
    k_unit_count = gensym("unit_count");
    k_unit_ids = gensym("unit_ids");
    k_errors = gensym("errors");
    k_utilities = gensym("utilities");
    k_vectors = gensym("vectors");
    k_edge_counts = gensym("edge_counts");
    k_edges = gensym("edges");
    k_last_readout = gensym("last_readout");
}

// ---------------------------------------------------------------------------------------------
// The model as plain arrays, between the graph and the dictionary
// ---------------------------------------------------------------------------------------------

typedef struct _gasnet_model {
    long vector_size, max_units, value_max, mu, lambda, lcd, mutation;
    double alpha, beta, epsilon1, epsilon2, kappa;
    long step_count, next_id, unit_count;
    long edge_total;
    long *ids;          // unit_count, in store order
    double *errors;     // unit_count
    double *utilities;  // unit_count
    double *vectors;    // unit_count rows of vector_size
    long *edge_counts;  // unit_count
    long *edges;        // edge_total pairs: neighbour, age
    t_atom_long readout[GASNET_MAX_VECTOR];  // the unit last read out, vector_size of them
} t_gasnet_model;

static void gasnet_model_free(t_gasnet_model *m)
{
    void *parts[] = {m->ids, m->errors, m->utilities, m->vectors, m->edge_counts, m->edges};
    for (void *p : parts)
        if (p) sysmem_freeptr(p);
    m->ids = m->edge_counts = m->edges = NULL;
    m->errors = m->utilities = m->vectors = NULL;
}

// Room for unit_count units and edge_total edges; false when memory runs out.
static bool gasnet_model_alloc(t_gasnet_model *m)
{
    t_ptr_size n = (t_ptr_size)(m->unit_count > 0 ? m->unit_count : 1);
    m->ids = (long *)sysmem_newptr(n * sizeof(long));
    m->errors = (double *)sysmem_newptr(n * sizeof(double));
    m->utilities = (double *)sysmem_newptr(n * sizeof(double));
    m->vectors = (double *)sysmem_newptr(n * (t_ptr_size)m->vector_size * sizeof(double));
    m->edge_counts = (long *)sysmem_newptr(n * sizeof(long));
    m->edges = (long *)sysmem_newptr((t_ptr_size)(m->edge_total > 0 ? m->edge_total : 1) * 2 * sizeof(long));
    if (m->ids && m->errors && m->utilities && m->vectors && m->edge_counts && m->edges) return true;
    gasnet_model_free(m);
    return false;
}

typedef struct _gasnet_snapshot {
    t_gasnet_model *m;
    long unit;  // the unit being copied
    long edge;  // the next edge slot
} t_gasnet_snapshot;

static void count_edges_hashfun(t_hashtab_entry *e, long *total)
{
    t_unit *u = (t_unit *)e->value;
    if (u && u->edges) *total += (long)linklist_getsize(u->edges);
}

static void copy_edge_linkfun(t_edge *e, t_gasnet_snapshot *s)
{
    if (s->edge >= s->m->edge_total) return;
    s->m->edges[2 * s->edge] = e->neighbour;
    s->m->edges[2 * s->edge + 1] = e->age;
    s->edge += 1;
    s->m->edge_counts[s->unit - 1] += 1;
}

static void copy_unit_hashfun(t_hashtab_entry *e, t_gasnet_snapshot *s)
{
    t_unit *u = (t_unit *)e->value;
    t_gasnet_model *m = s->m;
    if (!u || !u->vector || s->unit >= m->unit_count) return;
    long i = s->unit++;
    m->ids[i] = (long)(t_ptr_int)e->key;
    m->errors[i] = u->error;
    m->utilities[i] = u->utility;
    memcpy(m->vectors + i * m->vector_size, u->vector, (size_t)m->vector_size * sizeof(double));
    m->edge_counts[i] = 0;
    if (u->edges) linklist_funall(u->edges, GASNET_METHOD(copy_edge_linkfun), s);
}

// Copies the whole model; the caller holds the mutex. False when memory runs out.
static bool gasnet_snapshot(t_gasnet *x, t_gasnet_model *m)
{
    memset(m, 0, sizeof *m);
    if (!x->units) return false;
    m->vector_size = gasnet_clip_vector_size(x->vector_size);
    m->max_units = x->max_units;
    m->value_max = x->value_max;
    m->mu = x->mu;
    m->lambda = x->lambda;
    m->lcd = x->lcd;
    m->mutation = x->mutation;
    m->alpha = x->alpha;
    m->beta = x->beta;
    m->epsilon1 = x->epsilon1;
    m->epsilon2 = x->epsilon2;
    m->kappa = x->kappa;
    m->step_count = x->step_count;
    m->next_id = x->next_id;
    m->unit_count = (long)hashtab_getsize(x->units);
    hashtab_funall(x->units, GASNET_METHOD(count_edges_hashfun), &m->edge_total);
    if (!gasnet_model_alloc(m)) return false;
    t_gasnet_snapshot s = {m, 0, 0};
    hashtab_funall(x->units, GASNET_METHOD(copy_unit_hashfun), &s);
    m->unit_count = s.unit;
    m->edge_total = s.edge;
    for (long k = 0; k < m->vector_size; k++) m->readout[k] = x->out_atoms ? atom_getlong(x->out_atoms + k) : 0;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Model and dictionary
// ---------------------------------------------------------------------------------------------

static t_max_err append_longs(t_dictionary *d, t_symbol *key, const long *v, long n, t_atom *scratch)
{
    for (long i = 0; i < n; i++) atom_setlong(scratch + i, v[i]);
    return dictionary_appendatoms(d, key, n, scratch);
}

static t_max_err append_reals(t_dictionary *d, t_symbol *key, const double *v, long n, t_atom *scratch)
{
    for (long i = 0; i < n; i++) atom_setfloat(scratch + i, v[i]);
    return dictionary_appendatoms(d, key, n, scratch);
}

// The file's dictionary, or NULL when memory runs out.
static t_dictionary *gasnet_model_to_dictionary(const t_gasnet_model *m)
{
    long cells = m->unit_count * m->vector_size;
    long longest = cells > 2 * m->edge_total ? cells : 2 * m->edge_total;
    if (longest < GASNET_MAX_VECTOR) longest = GASNET_MAX_VECTOR;
    t_atom *scratch = (t_atom *)sysmem_newptr((t_ptr_size)longest * sizeof(t_atom));
    t_dictionary *d = dictionary_new();
    if (!scratch || !d) {
        if (scratch) sysmem_freeptr(scratch);
        if (d) object_free(d);
        return NULL;
    }
    t_max_err err = MAX_ERR_NONE;
    err |= dictionary_appendsym(d, k_format, gensym(gasnet_format));
    err |= dictionary_appendlong(d, k_version, gasnet_file_version);
    err |= dictionary_appendlong(d, k_vector_size, m->vector_size);
    err |= dictionary_appendlong(d, k_max_units, m->max_units);
    err |= dictionary_appendlong(d, k_value_max, m->value_max);
    err |= dictionary_appendlong(d, k_mu, m->mu);
    err |= dictionary_appendlong(d, k_lambda, m->lambda);
    err |= dictionary_appendfloat(d, k_alpha, m->alpha);
    err |= dictionary_appendfloat(d, k_beta, m->beta);
    err |= dictionary_appendfloat(d, k_epsilon1, m->epsilon1);
    err |= dictionary_appendfloat(d, k_epsilon2, m->epsilon2);
    err |= dictionary_appendfloat(d, k_kappa, m->kappa);
    err |= dictionary_appendlong(d, k_lcd, m->lcd);
    err |= dictionary_appendlong(d, k_mutation, m->mutation);
    err |= dictionary_appendlong(d, k_step_count, m->step_count);
    err |= dictionary_appendlong(d, k_next_id, m->next_id);
    err |= dictionary_appendlong(d, k_unit_count, m->unit_count);
    err |= append_longs(d, k_unit_ids, m->ids, m->unit_count, scratch);
    err |= append_reals(d, k_errors, m->errors, m->unit_count, scratch);
    err |= append_reals(d, k_utilities, m->utilities, m->unit_count, scratch);
    err |= append_reals(d, k_vectors, m->vectors, cells, scratch);
    err |= append_longs(d, k_edge_counts, m->edge_counts, m->unit_count, scratch);
    err |= append_longs(d, k_edges, m->edges, 2 * m->edge_total, scratch);
    for (long k = 0; k < m->vector_size; k++) atom_setlong(scratch + k, m->readout[k]);
    err |= dictionary_appendatoms(d, k_last_readout, m->vector_size, scratch);
    sysmem_freeptr(scratch);
    if (err != MAX_ERR_NONE) {
        object_free(d);
        return NULL;
    }
    return d;
}

// What is wrong with a file, as the error names it.
typedef struct _gasnet_why {
    char text[200];
} t_gasnet_why;

static bool gasnet_fail(t_gasnet_why *why, const char *fmt, ...) C74_PRINTF_FORMAT(2, 3);
static bool gasnet_fail(t_gasnet_why *why, const char *fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(why->text, sizeof why->text, fmt, ap);
    va_end(ap);
    return false;
}

// An integer entry within lo..hi.
static bool get_long(const t_dictionary *d, t_symbol *key, t_atom_long lo, t_atom_long hi, long *out,
                     t_gasnet_why *why)
{
    return maxlearn_file_long(d, key->s_name, lo, hi, out, why->text, sizeof why->text) != 0;
}

// A real entry (an integer will do) within lo..hi.
static bool get_real(const t_dictionary *d, t_symbol *key, double lo, double hi, double *out, t_gasnet_why *why)
{
    t_atom a;
    if (!dictionary_hasentry(d, key)) return gasnet_fail(why, "no \"%s\"", key->s_name);
    if (dictionary_getatom(d, key, &a) != MAX_ERR_NONE || (atom_gettype(&a) != A_FLOAT && atom_gettype(&a) != A_LONG))
        return gasnet_fail(why, "\"%s\" is not a number", key->s_name);
    double v = atom_getfloat(&a);
    if (!(v >= lo && v <= hi)) return gasnet_fail(why, "\"%s\" is %g, beyond %g to %g", key->s_name, v, lo, hi);
    *out = v;
    return true;
}

// An array entry of exactly n atoms.
static bool get_array(const t_dictionary *d, t_symbol *key, long n, t_atom **av, t_gasnet_why *why)
{
    long ac = 0;
    *av = NULL;
    if (!dictionary_hasentry(d, key)) return gasnet_fail(why, "no \"%s\"", key->s_name);
    if (dictionary_entryisdictionary(d, key) || dictionary_getatoms(d, key, &ac, av) != MAX_ERR_NONE)
        return gasnet_fail(why, "\"%s\" is not an array", key->s_name);
    if (ac != n) return gasnet_fail(why, "\"%s\" holds %ld values, not %ld", key->s_name, ac, n);
    return true;
}

static bool get_longs(const t_dictionary *d, t_symbol *key, long n, t_atom_long lo, t_atom_long hi, long *out,
                      t_gasnet_why *why)
{
    t_atom *av;
    if (!get_array(d, key, n, &av, why)) return false;
    for (long i = 0; i < n; i++) {
        if (atom_gettype(av + i) != A_LONG) return gasnet_fail(why, "\"%s\" holds a value that is not an integer", key->s_name);
        t_atom_long v = atom_getlong(av + i);
        if (v < lo || v > hi)
            return gasnet_fail(why, "\"%s\" holds %lld, beyond %lld to %lld", key->s_name, (long long)v, (long long)lo,
                               (long long)hi);
        out[i] = (long)v;
    }
    return true;
}

static bool get_reals(const t_dictionary *d, t_symbol *key, long n, double *out, t_gasnet_why *why)
{
    t_atom *av;
    if (!get_array(d, key, n, &av, why)) return false;
    for (long i = 0; i < n; i++) {
        long type = atom_gettype(av + i);
        if (type != A_FLOAT && type != A_LONG) return gasnet_fail(why, "\"%s\" holds a value that is not a number", key->s_name);
        double v = atom_getfloat(av + i);
        if (!isfinite(v)) return gasnet_fail(why, "\"%s\" holds a value that is not finite", key->s_name);
        out[i] = v;
    }
    return true;
}

// The format and version say whose file this is and whether this gasnet reads it.
static bool check_format(const t_dictionary *d, t_gasnet_why *why)
{
    t_symbol *format = NULL;
    t_atom_long version = 0;
    t_atom a;
    if (!dictionary_hasentry(d, k_format)) return gasnet_fail(why, "no \"format\": not a gasnet file");
    if (dictionary_getsym(d, k_format, &format) != MAX_ERR_NONE) return gasnet_fail(why, "\"format\" is not a symbol");
    if (strcmp(format->s_name, gasnet_format) != 0) {
        if (strncmp(format->s_name, "maxlearn.", 9) == 0)
            return gasnet_fail(why, "a %s file, not a gasnet one", format->s_name + 9);
        return gasnet_fail(why, "format \"%s\" is not %s", format->s_name, gasnet_format);
    }
    if (dictionary_getatom(d, k_version, &a) != MAX_ERR_NONE || atom_gettype(&a) != A_LONG)
        return gasnet_fail(why, "no integer \"version\"");
    version = atom_getlong(&a);
    if (version > gasnet_file_version)
        return gasnet_fail(why, "version %lld is newer than this gasnet reads (%lld)", (long long)version,
                           (long long)gasnet_file_version);
    if (version < 1) return gasnet_fail(why, "version %lld is not a version", (long long)version);
    return true;
}

// Reads and checks a whole model. On failure *why says what is wrong and m holds nothing.
static bool gasnet_model_from_dictionary(const t_dictionary *d, t_gasnet_model *m, t_gasnet_why *why)
{
    memset(m, 0, sizeof *m);
    if (!check_format(d, why)) return false;
    // Sizes first, so that nothing is allocated for sizes beyond the object's bounds.
    bool ok = get_long(d, k_vector_size, 1, GASNET_MAX_VECTOR, &m->vector_size, why) &&
              get_long(d, k_max_units, 2, 100, &m->max_units, why) &&
              get_long(d, k_unit_count, 0, m->max_units, &m->unit_count, why) &&
              get_long(d, k_value_max, 2, LONG_MAX, &m->value_max, why) &&
              get_long(d, k_mu, 1, 100, &m->mu, why) && get_long(d, k_lambda, 1, 100, &m->lambda, why) &&
              get_long(d, k_lcd, 100, 800, &m->lcd, why) && get_long(d, k_mutation, 0, 100, &m->mutation, why) &&
              get_real(d, k_alpha, 0.01, 1, &m->alpha, why) && get_real(d, k_beta, 0.01, 1, &m->beta, why) &&
              get_real(d, k_epsilon1, 0.01, 1, &m->epsilon1, why) &&
              get_real(d, k_epsilon2, 0.01, 1, &m->epsilon2, why) && get_real(d, k_kappa, 0, 100, &m->kappa, why) &&
              get_long(d, k_step_count, 0, LONG_MAX, &m->step_count, why) &&
              get_long(d, k_next_id, 1, LONG_MAX, &m->next_id, why);
    if (!ok) return false;

    // The edge count comes from the edges array itself; edge_counts must add up to it.
    long ac = 0;
    t_atom *av = NULL;
    if (!dictionary_hasentry(d, k_edges)) return gasnet_fail(why, "no \"edges\"");
    if (dictionary_entryisdictionary(d, k_edges) || dictionary_getatoms(d, k_edges, &ac, &av) != MAX_ERR_NONE)
        return gasnet_fail(why, "\"edges\" is not an array");
    if (ac % 2 != 0) return gasnet_fail(why, "\"edges\" holds %ld values, not pairs of neighbour and age", ac);
    m->edge_total = ac / 2;
    if (!gasnet_model_alloc(m)) return gasnet_fail(why, "out of memory");

    long last_id = m->next_id - 1;
    ok = get_longs(d, k_unit_ids, m->unit_count, 1, last_id, m->ids, why) &&
         get_reals(d, k_errors, m->unit_count, m->errors, why) &&
         get_reals(d, k_utilities, m->unit_count, m->utilities, why) &&
         get_reals(d, k_vectors, m->unit_count * m->vector_size, m->vectors, why) &&
         get_longs(d, k_edge_counts, m->unit_count, 0, m->edge_total, m->edge_counts, why) &&
         get_longs(d, k_edges, 2 * m->edge_total, 0, LONG_MAX, m->edges, why);
    long readout[GASNET_MAX_VECTOR];
    ok = ok && get_longs(d, k_last_readout, m->vector_size, LONG_MIN, LONG_MAX, readout, why);
    if (ok) {
        for (long k = 0; k < m->vector_size; k++) m->readout[k] = readout[k];
        long sum = 0;
        for (long i = 0; i < m->unit_count && ok; i++) {
            sum += m->edge_counts[i];
            if (sum > m->edge_total) ok = gasnet_fail(why, "\"edge_counts\" add up to more than the %ld edges", m->edge_total);
            for (long j = 0; j < i && ok; j++)
                if (m->ids[j] == m->ids[i]) ok = gasnet_fail(why, "unit %ld appears twice in \"unit_ids\"", m->ids[i]);
        }
        if (ok && sum != m->edge_total)
            ok = gasnet_fail(why, "\"edge_counts\" add up to %ld, not the %ld edges", sum, m->edge_total);
        // A link names a unit of the graph, or 0, a lone unit's missing partner.
        for (long e = 0; e < m->edge_total && ok; e++) {
            long n = m->edges[2 * e];
            bool found = n == 0;
            for (long i = 0; i < m->unit_count && !found; i++) found = m->ids[i] == n;
            if (!found) ok = gasnet_fail(why, "an edge links to unit %ld, which is not in \"unit_ids\"", n);
        }
    }
    if (!ok) gasnet_model_free(m);
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Model and graph
// ---------------------------------------------------------------------------------------------

static void free_units(t_hashtab *units)
{
    if (!units) return;
    hashtab_funall(units, GASNET_METHOD(clear_hashfun), NULL);
    object_free(units);
}

// A new store holding the model's units, in the model's order; NULL when memory runs out.
static t_hashtab *gasnet_model_to_units(const t_gasnet_model *m)
{
    t_hashtab *units = hashtab_new(0);
    if (!units) return NULL;
    hashtab_flags(units, OBJ_FLAG_MEMORY);
    long edge = 0;
    for (long i = 0; i < m->unit_count; i++) {
        t_unit *u = gasnet_unit_new();
        if (!u) {
            free_units(units);
            return NULL;
        }
        memcpy(u->vector, m->vectors + i * m->vector_size, (size_t)m->vector_size * sizeof(double));
        u->error = m->errors[i];
        u->utility = m->utilities[i];
        for (long k = 0; k < m->edge_counts[i]; k++, edge++) {
            t_edge *e = (t_edge *)sysmem_newptr(sizeof(t_edge));
            if (!e) {
                gasnet_release_unit_parts(u);
                sysmem_freeptr(u);
                free_units(units);
                return NULL;
            }
            e->neighbour = m->edges[2 * edge];
            e->age = m->edges[2 * edge + 1];
            linklist_append(u->edges, e);
        }
        hashtab_store(units, (t_symbol *)(t_ptr_int)m->ids[i], (t_object *)u);
    }
    return units;
}

// ---------------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------------

// The folder and file name to write `s` to: a name with a folder as it is, one without in the
// default folder, none through the save dialog. False after posting why not.
static bool gasnet_write_target(t_gasnet *x, t_symbol *s, char *name, short *path)
{
    if (!s || !s->s_name[0]) {
        if (maxlearn_file_dialog(1, "gasnet.json", name, path) != 0) {
            object_error((t_object *)x, "write: no file chosen; give a file name, as in \"write clusters.json\"");
            return false;
        }
        return true;
    }
    bool has_folder = strchr(s->s_name, '/') || strchr(s->s_name, '\\');
    // A longer name would be cut short: the file would go by another name.
    if (strlen(s->s_name) >= (has_folder ? MAX_PATH_CHARS : MAX_FILENAME_CHARS)) {
        object_error((t_object *)x, "cannot write %.60s...: the name is too long", s->s_name);
        return false;
    }
    if (has_folder) {
        const int split = maxlearn_file_split(s->s_name, name, path);
        if (split != MAXLEARN_FILE_SPLIT)
            object_error((t_object *)x, "cannot write %s: %s", s->s_name,
                         split == MAXLEARN_FILE_NO_FOLDER ? "no such folder" : "a folder, not a file name");
        return split == MAXLEARN_FILE_SPLIT;
    }
    strcpy(name, s->s_name);
    *path = path_getdefault();
    return true;
}

void gasnet_dowrite(t_gasnet *x, t_symbol *s, short, t_atom *)
{
    gasnet_file_keys();
    char name[MAX_PATH_CHARS] = "";
    short path = 0;
    if (!gasnet_write_target(x, s, name, &path)) return;
    const char *shown = s && s->s_name[0] ? s->s_name : name;

    t_gasnet_model m;
    systhread_mutex_lock(x->mutex);
    bool copied = gasnet_snapshot(x, &m);
    systhread_mutex_unlock(x->mutex);
    if (!copied) {
        gasnet_model_free(&m);
        object_error((t_object *)x, "cannot write %s: out of memory", shown);
        return;
    }
    t_dictionary *d = gasnet_model_to_dictionary(&m);
    long units = m.unit_count;
    gasnet_model_free(&m);
    if (!d) {
        object_error((t_object *)x, "cannot write %s: out of memory", shown);
        return;
    }
    if (!maxlearn_file_write_dictionary((t_object *)x, d, name, path, shown)) return;
    object_post((t_object *)x, "wrote %ld units to %s", units, shown);
}

// Puts a checked model in place of the current one, in one step under the mutex.
static bool gasnet_swap_in(t_gasnet *x, const t_gasnet_model *m)
{
    t_hashtab *units = gasnet_model_to_units(m);
    double *dump = NULL;
    if (!units) return false;
    if (m->max_units != x->max_units) {
        dump = (double *)sysmem_newptrclear((t_ptr_size)m->max_units * (t_ptr_size)GASNET_MAX_VECTOR * sizeof(double));
        if (!dump) {
            free_units(units);
            return false;
        }
    }
    systhread_mutex_lock(x->mutex);
    t_hashtab *old_units = x->units;
    GASNET_STORE_PTR(x->units, units);
    gasnet_store(&x->vector_size, m->vector_size);
    gasnet_store(&x->unit_count, m->unit_count);
    x->value_max = m->value_max;
    // What dump_max prints without the mutex is stored atomically.
    gasnet_store(&x->mu, m->mu);
    gasnet_store(&x->lambda, m->lambda);
    x->lcd = m->lcd;
    x->mutation = m->mutation;
    gasnet_store_real(&x->alpha, m->alpha);
    gasnet_store_real(&x->beta, m->beta);
    gasnet_store_real(&x->epsilon1, m->epsilon1);
    gasnet_store_real(&x->epsilon2, m->epsilon2);
    gasnet_store_real(&x->kappa, m->kappa);
    x->step_count = m->step_count;
    x->next_id = m->next_id;
    if (x->out_atoms)
        for (long k = 0; k < m->vector_size; k++) atom_setlong(x->out_atoms + k, m->readout[k]);
    double *old_dump = NULL;
    if (dump) {
        systhread_mutex_lock(x->dump_mutex);
        old_dump = x->dump_buffer;
        GASNET_STORE_PTR(x->dump_buffer, dump);
        x->dump_row = 0;
        gasnet_store(&x->max_units, m->max_units);
        systhread_mutex_unlock(x->dump_mutex);
    }
    systhread_mutex_unlock(x->mutex);
    free_units(old_units);
    if (old_dump) sysmem_freeptr(old_dump);
    return true;
}

void gasnet_doread(t_gasnet *x, t_symbol *s, short, t_atom *)
{
    gasnet_file_keys();
    char name[MAX_PATH_CHARS] = "";
    short path = 0;
    if (!s || !s->s_name[0]) {
        if (maxlearn_file_dialog(0, NULL, name, &path) != 0) {
            object_error((t_object *)x, "read: no file chosen; give a file name, as in \"read clusters.json\"");
            return;
        }
    } else {
        if (strlen(s->s_name) >= MAX_PATH_CHARS) {
            object_error((t_object *)x, "cannot read %.60s...: the name is too long", s->s_name);
            return;
        }
        if (maxlearn_file_locate(s->s_name, name, &path) != 0) {
            object_error((t_object *)x, "cannot read %s: no such file", s->s_name);
            return;
        }
    }
    const char *shown = s && s->s_name[0] ? s->s_name : name;

    t_dictionary *d = maxlearn_file_read_dictionary((t_object *)x, name, path, shown);
    if (!d) return;
    t_gasnet_model m;
    t_gasnet_why why;
    why.text[0] = '\0';
    bool ok = gasnet_model_from_dictionary(d, &m, &why);
    object_free(d);
    if (!ok) {
        object_error((t_object *)x, "cannot read %s: %s", shown, why.text);
        return;
    }
    ok = gasnet_swap_in(x, &m);
    long units = m.unit_count;
    gasnet_model_free(&m);
    if (!ok) {
        object_error((t_object *)x, "cannot read %s: out of memory", shown);
        return;
    }
    object_post((t_object *)x, "read %ld units from %s", units, shown);
}

void gasnet_write(t_gasnet *x, t_symbol *s) { defer_low(x, GASNET_METHOD(gasnet_dowrite), s, 0, NULL); }

void gasnet_read(t_gasnet *x, t_symbol *s) { defer_low(x, GASNET_METHOD(gasnet_doread), s, 0, NULL); }
