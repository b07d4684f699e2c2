/* chainlet: a discrete hidden Markov model over the symbols 0 to 127, as a Max external.
 *
 * One "list" is one scaled Baum-Welch re-estimation on that sequence, blended into the model with
 * the weight "apprentissage"; "bang" generates one symbol; "vraisemblance" scores a sequence;
 * "dump_max" prints the model and "dump_lcd" draws its emission matrix on an lcd. */
#ifndef CHAINLET_CHAINLET_H
#define CHAINLET_CHAINLET_H

#include "ext.h"
#include "ext_obex.h"
#include "ext_systhread.h"

/* Alphabet size M. */
#define CHAINLET_SYMBOLS 128
/* Hidden states: the first box argument v is taken when 1 < v <= 50. */
#define CHAINLET_DEFAULT_STATES 6
#define CHAINLET_MAX_STATES 50
/* Longest training sequence ("list"); longer lists are ignored. */
#define CHAINLET_MAX_TRAIN 256
/* Longest scored sequence ("vraisemblance"): the most atoms Max or the command-line host delivers
 * in one message. Longer ones are not scored and answer 1000.0, as a busy lock does. */
#define CHAINLET_MAX_SCORE 32767
/* Size of the host's assist text buffer. */
#define CHAINLET_ASSIST_SIZE 512
/* Transition and emission rows printed by "dump_max". */
#define CHAINLET_DUMP_ROWS 10

BEGIN_USING_C_LINKAGE

/* One hidden state. The per-step arrays hold `step_capacity` doubles, of which the first
 * `sequence_length` are meaningful after a pass (for sequences of up to CHAINLET_MAX_TRAIN symbols). */
typedef struct _chainlet_state {
    double *transition;           /* N: a_ij */
    double *emission;             /* 128: b_i(k) */
    double *alpha;                /* T: scaled forward values */
    double *beta;                 /* T: scaled backward values */
    double *transition_estimate;  /* N: re-estimated transition row */
    double *emission_estimate;    /* 128: re-estimated emission row */
    double *alpha_unscaled;       /* T: forward values before scaling */
} t_chainlet_state;

typedef struct _chainlet {
    t_object ob;
    t_int32 state_count;      /* N, 2 to 50 */
    t_int32 symbol_count;     /* M, always 128 */
    t_int32 sequence_length;  /* T of the last loaded sequence, 0 before any */
    long lcd;                 /* attribute "lcd" (a host "long" attribute is a C long) */
    t_int32 current_state;    /* generator state, -1 for none */
    t_int32 trained;          /* 1 once a list has been learned, 0 after creation and clear */
    t_int32 dump_busy;        /* 1 for 1000 ms after an accepted dump_max (atomic access) */
    float apprentissage;      /* attribute "apprentissage": weight of the model against one estimate */
    t_int32 *sequence;        /* the loaded symbols */
    double *initial;          /* N: pi */
    double *initial_estimate; /* N */
    double *coefficients;     /* T: scaling coefficients of the last forward pass */
    t_chainlet_state *states; /* N */
    void *lcd_qelem;          /* runs chainlet_qtask_lcd */
    void *dump_clock;         /* runs chainlet_task_max */
    void *int_outlet;         /* outlet 0: generated symbols */
    void *bang_outlet;        /* outlet 1: bang when untrained */
    void *lcd_outlet;         /* outlet 2: drawing messages */
    void *float_outlet;       /* outlet 3: score */
    t_systhread_mutex mutex;  /* held by a training or scoring pass; tried, never waited for */

    /* The locks and the storage laid out for the passes. */
    t_systhread_mutex model_mutex; /* guards the model and everything above it; passes hold it too */
    t_int32 sequence_capacity;     /* symbols that `sequence` and `coefficients` hold */
    t_int32 step_capacity;         /* doubles that each state's alpha, beta, alpha_unscaled hold */
    double *scratch;               /* pass storage sized by the bounds (see chainlet.cpp) */
    double *dump_values;           /* snapshot of the printed model */
    unsigned char *lcd_colours;    /* N x 128 colour numbers of the drawing */
} t_chainlet;

extern t_class *chainlet_class;

/* Object. */
void *chainlet_new(t_symbol *s, long argc, t_atom *argv);
void chainlet_free(t_chainlet *x);
void chainlet_assist(t_chainlet *x, void *b, long m, long a, char *s);
void chainlet_bang(t_chainlet *x);
void chainlet_list(t_chainlet *x, t_symbol *s, long argc, t_atom *argv);
void chainlet_vraisemblance(t_chainlet *x, t_symbol *s, long argc, t_atom *argv);
void chainlet_clear(t_chainlet *x);
void chainlet_int(t_chainlet *x, long n);
void chainlet_dumpmax(t_chainlet *x);
void chainlet_dumplcd(t_chainlet *x);
void chainlet_task_max(t_chainlet *x);
/* Model files: queued to the main thread, where the file is written or read and swapped in. */
void chainlet_write(t_chainlet *x, t_symbol *s);
void chainlet_read(t_chainlet *x, t_symbol *s);
/* The steps of "read", for benchmarks: a model read and checked from a dictionary (NULL with the
 * reason in err, CHAINLET_ERROR_SIZE bytes), the swap that puts it in place under the lock (it
 * then holds the object's old model) and its release. */
#define CHAINLET_ERROR_SIZE 256
typedef struct _chainlet_loaded t_chainlet_loaded;
t_chainlet_loaded *chainlet_read_model(const t_dictionary *d, char *err);
void chainlet_swap_model(t_chainlet *x, t_chainlet_loaded *l);
void chainlet_free_model(t_chainlet_loaded *l);
/* Reporting. */
void chainlet_qtask_lcd(t_chainlet *x);
/* The colour number of one emission probability in the drawing. */
long chainlet_colour(double b);

/* Model and training. The handlers call these with model_mutex held; tests may call
 * them directly on an instance that no other thread uses. */
void graf_init(t_chainlet *x);
void graf_clear(t_chainlet *x);
void graf_free(t_chainlet *x);
/* Loads n symbols (1 <= n <= CHAINLET_MAX_SCORE); 1 when loaded, 0 when storage failed (then T is 0). */
long graf_init_vecteur(t_chainlet *x, long n, t_atom *argv);
void calculer_forward(t_chainlet *x);
double calculer_coefficient(t_chainlet *x, long t);
/* Uses the emission table that calculer_forward built for the loaded sequence. */
void calculer_backward(t_chainlet *x);
double calculer_produit_coefficient(t_chainlet *x);
double calculer_gamma(t_chainlet *x, long i, long t);
double calculer_sigma(t_chainlet *x, long i, long j);
/* Needs calculer_forward and calculer_backward on the loaded sequence. */
void calculer_estimation(t_chainlet *x);
void calculer_apprentissage(t_chainlet *x);
void stochastic_vecteur(double *v, long n);

/* Generation and likelihood. */
t_int32 graf_init_step(t_chainlet *x);
t_int32 graf_step(t_chainlet *x);
double calculer_vraisemblance(t_chainlet *x);

END_USING_C_LINKAGE

#endif
