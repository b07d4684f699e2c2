/* The only things the two halves of a Pd external share: the Max half (the project's runtime, the
   Pd scheduler backend and one object, all names local) and the Pd glue (the one file that
   includes m_pd.h). Neither side's headers cross this line, since Pd and the Max API declare
   several functions of the same name with different signatures. */
#ifndef MAXLEARN_PD_BRIDGE_H
#define MAXLEARN_PD_BRIDGE_H

#ifdef __cplusplus
extern "C" {
#endif

#define PDB_API __attribute__((visibility("default")))

/* A neutral atom: a number ('f') or a symbol name ('s'). */
typedef struct pdb_atom {
    char type;
    double f;
    const char *s;
} pdb_atom;

/* Max half, called by the glue. */
PDB_API int pdb_setup(const char *class_name);  /* registers the class; 0 when it fails */
PDB_API void *pdb_new(const char *class_name, void *owner, int argc, const pdb_atom *argv);
PDB_API int pdb_outlet_count(void *max_object);
PDB_API void pdb_send(void *max_object, const char *selector, int argc, const pdb_atom *argv);
/* The folder of the patch the object is in: its files without a folder are written there and
   looked for there first. */
PDB_API void pdb_set_folder(void *max_object, const char *folder);
PDB_API void pdb_free(void *max_object);
PDB_API void pdb_drain(void); /* runs the clock and queue requests made on other threads */

/* Glue, called by the Max half (always on Pd's thread, except pdg_wake). */
/* A line of the Max window; an error names `owner` (the Pd object, or null) so that Pd can find its box. */
void pdg_post(void *owner, int is_error, const char *line);
void pdg_outlet(void *owner, int outlet_index, const char *selector, int argc, const pdb_atom *argv);
void *pdg_clock_new(void (*task)(void *), void *arg);
void pdg_clock_delay(void *clock, double ms);
void pdg_clock_unset(void *clock);
void pdg_clock_free(void *clock);
double pdg_time_ms(void);
void pdg_wake(void); /* any thread: asks Pd's thread to call pdb_drain soon */

#ifdef __cplusplus
}
#endif
#endif
