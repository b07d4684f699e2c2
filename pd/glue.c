/* The Pd side of one external: a Pd class whose one method hands every message to the Max
   instance, Pd outlets that the Max outlets forward to, Pd clocks for the scheduler backend and
   the Max window printed to Pd's. Built once per object with PDB_CLASS set to its class name. The
   only file that includes m_pd.h. */
#include "m_pd.h"

#include "bridge.h"

#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define PDB_STR2(x) #x
#define PDB_STR(x) PDB_STR2(x)
#define PDB_CAT2(a, b) a##b
#define PDB_CAT(a, b) PDB_CAT2(a, b)
#define PDB_NAME PDB_STR(PDB_CLASS)
#define PDB_ATOMS_ON_STACK 64

/* Pd's own, declared in s_stuff.h, which brings much else along. */
void sys_addpollfn(int fd, void (*fn)(void *ptr, int fd), void *ptr);

static t_class *pdx_class;
static double pdx_start;                   /* Pd's logical time when the class was set up */
static int pdx_pipe[2] = {-1, -1};         /* wakes Pd's thread for requests from others */

typedef struct pdx {
    t_object ob;
    void *max;
    int nout;
    t_outlet **outs;
} t_pdx;

/* Calls `fn` with the Pd atoms as neutral ones. */
static void with_atoms(int argc, t_atom *argv, void (*fn)(void *ctx, int n, const pdb_atom *a), void *ctx) {
    pdb_atom local[PDB_ATOMS_ON_STACK];
    pdb_atom *a = argc > PDB_ATOMS_ON_STACK ? (pdb_atom *)getbytes(sizeof(pdb_atom) * (size_t)argc) : local;
    int i;
    for (i = 0; i < argc; i++) {
        a[i].type = 'f';
        a[i].f = 0;
        a[i].s = 0;
        if (argv[i].a_type == A_FLOAT) {
            a[i].f = argv[i].a_w.w_float;
        } else if (argv[i].a_type == A_SYMBOL) {
            a[i].type = 's';
            a[i].s = argv[i].a_w.w_symbol->s_name;
        }
    }
    fn(ctx, argc, argc > 0 ? a : 0); /* no atoms: nothing on the stack to hand over */
    if (a != local) freebytes(a, sizeof(pdb_atom) * (size_t)argc);
}

typedef struct {
    t_pdx *x;
    const char *sel;
} send_ctx;

static void do_new(void *ctx, int n, const pdb_atom *a) {
    t_pdx *x = (t_pdx *)ctx;
    x->max = pdb_new(PDB_NAME, x, n, a);
}

static void do_send(void *ctx, int n, const pdb_atom *a) {
    send_ctx *c = (send_ctx *)ctx;
    pdb_send(c->x->max, c->sel, n, a);
}

static void *pdx_new(t_symbol *s, int argc, t_atom *argv) {
    t_pdx *x = (t_pdx *)pd_new(pdx_class);
    int i;
    (void)s;
    x->max = 0;
    x->outs = 0;
    x->nout = 0;
    with_atoms(argc, argv, do_new, x);
    if (!x->max) {
        pd_free((t_pd *)x);
        return 0;
    }
    pdb_set_folder(x->max, canvas_getdir(canvas_getcurrent())->s_name);
    x->nout = pdb_outlet_count(x->max);
    if (x->nout > 0) {
        x->outs = (t_outlet **)getbytes(sizeof(t_outlet *) * (size_t)x->nout);
        for (i = 0; i < x->nout; i++) x->outs[i] = outlet_new(&x->ob, 0);
    }
    return x;
}

static void pdx_free(t_pdx *x) {
    if (x->max) pdb_free(x->max);
    if (x->outs) freebytes(x->outs, sizeof(t_outlet *) * (size_t)x->nout);
}

/* `seed n` reseeds the C generator, so a run repeats exactly; the objects reseed it from the
   clock when they are made. Every other message goes to the Max instance. */
static void pdx_anything(t_pdx *x, t_symbol *s, int argc, t_atom *argv) {
    send_ctx c;
    if (!x->max) return;
    if (s == gensym("seed") && argc == 1 && argv[0].a_type == A_FLOAT) {
        srand((unsigned int)argv[0].a_w.w_float);
        return;
    }
    c.x = x;
    c.sel = s->s_name;
    with_atoms(argc, argv, do_send, &c);
}

void pdg_outlet(void *owner, int index, const char *sel, int argc, const pdb_atom *argv) {
    t_pdx *x = (t_pdx *)owner;
    t_atom local[PDB_ATOMS_ON_STACK];
    t_atom *a;
    t_outlet *o;
    int i;
    if (index < 0 || index >= x->nout) return;
    o = x->outs[index];
    if (!strcmp(sel, "bang")) {
        outlet_bang(o);
        return;
    }
    if ((!strcmp(sel, "int") || !strcmp(sel, "float")) && argc == 1 && argv[0].type == 'f') {
        outlet_float(o, (t_float)argv[0].f);
        return;
    }
    a = argc > PDB_ATOMS_ON_STACK ? (t_atom *)getbytes(sizeof(t_atom) * (size_t)argc) : local;
    for (i = 0; i < argc; i++) {
        if (argv[i].type == 's')
            SETSYMBOL(&a[i], gensym(argv[i].s));
        else
            SETFLOAT(&a[i], (t_float)argv[i].f);
    }
    if (!strcmp(sel, "list"))
        outlet_list(o, &s_list, argc, a);
    else
        outlet_anything(o, gensym(sel), argc, a);
    if (a != local) freebytes(a, sizeof(t_atom) * (size_t)argc);
}

void pdg_post(void *owner, int is_error, const char *line) {
    if (is_error)
        pd_error(owner, "%s", line);
    else
        post("%s", line);
}

void *pdg_clock_new(void (*task)(void *), void *arg) { return clock_new(arg, (t_method)task); }
void pdg_clock_delay(void *c, double ms) { clock_delay((t_clock *)c, ms); }
void pdg_clock_unset(void *c) { clock_unset((t_clock *)c); }
void pdg_clock_free(void *c) { clock_free((t_clock *)c); }
double pdg_time_ms(void) { return clock_gettimesince(pdx_start); }

void pdg_wake(void) {
    char byte = 0;
    if (pdx_pipe[1] >= 0 && write(pdx_pipe[1], &byte, 1) < 0) {
        /* full pipe: a wake-up is pending already */
    }
}

static void pdx_poll(void *ptr, int fd) {
    char buf[64];
    (void)ptr;
    while (read(fd, buf, sizeof buf) > 0) {
    }
    pdb_drain();
}

void PDB_CAT(PDB_CLASS, _setup)(void) {
    pdx_start = clock_getlogicaltime();
    if (!pdb_setup(PDB_NAME)) return;
    if (pipe(pdx_pipe) == 0) {
        fcntl(pdx_pipe[0], F_SETFL, O_NONBLOCK);
        fcntl(pdx_pipe[1], F_SETFL, O_NONBLOCK);
        sys_addpollfn(pdx_pipe[0], pdx_poll, 0);
    }
    pdx_class = class_new(gensym(PDB_NAME), (t_newmethod)pdx_new, (t_method)pdx_free, sizeof(t_pdx),
                          CLASS_DEFAULT, A_GIMME, 0);
    class_addanything(pdx_class, (t_method)pdx_anything);
}
