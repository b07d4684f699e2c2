/* The file side of the objects' "write [file]" and "read [file]": which file a message names, the
 * dialogs, reading and writing the model's dictionary with one error naming the file, and the
 * checks of a file's entries that every object makes the same way.
 *
 * Header only (static inline: each external carries its own copy), plain C on the public Max
 * API. Every `name` buffer holds MAX_PATH_CHARS; every error text goes into err, err_size chars. */
#ifndef MAXLEARN_MODELFILE_H
#define MAXLEARN_MODELFILE_H

#include "ext.h"
#include "ext_obex.h"
#include "ext_dictionary.h"

#include <limits.h>
#include <math.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

/* The file type the dialogs offer. */
#define MAXLEARN_FILE_JSON ((t_fourcc)(('J' << 24) | ('S' << 16) | ('O' << 8) | 'N'))

/* The save dialog (writing, offering default_name) or the open dialog: 0 with the chosen file in
 * name and path, nonzero when cancelled. */
static inline short maxlearn_file_dialog(int writing, const char *default_name, char *name, short *path)
{
    t_fourcc type = 0, json = MAXLEARN_FILE_JSON;
    if (writing) {
        snprintf(name, MAX_PATH_CHARS, "%s", default_name);
        return saveasdialog_extended(name, path, &type, &json, 1);
    }
    return open_dialog(name, path, &type, &json, 1);
}

/* Finds `given` (shorter than MAX_PATH_CHARS) as Max finds files: 0 with its name and folder in
 * name and path, nonzero when there is no such file. */
static inline short maxlearn_file_locate(const char *given, char *name, short *path)
{
    t_fourcc type = 0;
    snprintf(name, MAX_PATH_CHARS, "%s", given);
    return locatefile_extended(name, path, &type, NULL, 0);
}

/* What a full name is, split into its folder (path) and its file's name (name). */
enum { MAXLEARN_FILE_SPLIT = 0, MAXLEARN_FILE_NO_FOLDER, MAXLEARN_FILE_A_FOLDER };

static inline int maxlearn_file_split(const char *given, char *name, short *path)
{
    if (path_frompathname(given, path, name) != 0) return MAXLEARN_FILE_NO_FOLDER;
    return name[0] ? MAXLEARN_FILE_SPLIT : MAXLEARN_FILE_A_FOLDER;
}

/* The file a "write" or "read" of s names, into name and path: with no name, the save or open
 * dialog; a name with a folder is taken as it is, one without is looked for as Max finds files
 * (read) or goes to the default folder (write). NULL, or why there is no file (name then holds
 * what was asked for, or is empty). */
static inline const char *maxlearn_file_name(t_symbol *s, int writing, const char *default_name, char *name, short *path)
{
    name[0] = '\0';
    if (!s || !s->s_name[0]) {
        if (maxlearn_file_dialog(writing, default_name, name, path) == 0) return NULL;
        return writing ? "no file chosen (the dialog was cancelled): name one, as in \"write model.json\""
                       : "no file chosen (the dialog was cancelled): name one, as in \"read model.json\"";
    }
    if (strlen(s->s_name) >= MAX_PATH_CHARS) return "the file name is too long";
    if (!writing) {
        char file[MAX_PATH_CHARS];
        short folder = 0;
        if (maxlearn_file_locate(s->s_name, name, path) == 0) return NULL;
        snprintf(name, MAX_PATH_CHARS, "%s", s->s_name);
        return maxlearn_file_split(s->s_name, file, &folder) == MAXLEARN_FILE_A_FOLDER ? "a folder, not a file" : "no such file";
    }
    if (strchr(s->s_name, '/') || strchr(s->s_name, '\\') || strchr(s->s_name, ':')) {
        const int split = maxlearn_file_split(s->s_name, name, path);
        if (split == MAXLEARN_FILE_SPLIT) return NULL;
        snprintf(name, MAX_PATH_CHARS, "%s", s->s_name);
        return split == MAXLEARN_FILE_NO_FOLDER ? "no such folder" : "a folder, not a file";
    }
    snprintf(name, MAX_PATH_CHARS, "%s", s->s_name);
    *path = path_getdefault();
    return NULL;
}

/* maxlearn_file_name, posting "cannot write|read [file]: why" when there is no file: 1 when
 * there is one. */
static inline int maxlearn_file_target(t_object *x, t_symbol *s, int writing, const char *default_name, char *name, short *path)
{
    const char *why = maxlearn_file_name(s, writing, default_name, name, path);
    if (!why) return 1;
    object_error(x, "cannot %s%s%s: %s", writing ? "write" : "read", name[0] ? " " : "", name, why);
    return 0;
}

/* The dictionary in the file, or NULL after posting that there is none, naming the file `shown`. */
static inline t_dictionary *maxlearn_file_read_dictionary(t_object *x, const char *name, short path, const char *shown)
{
    t_dictionary *d = NULL;
    if (dictionary_read(name, path, &d) != MAX_ERR_NONE || !d) {
        object_error(x, "cannot read %s: not a JSON dictionary", shown);
        return NULL;
    }
    return d;
}

/* Writes d to the file and frees it: 1 when written, 0 after posting that it was not. */
static inline int maxlearn_file_write_dictionary(t_object *x, t_dictionary *d, const char *name, short path, const char *shown)
{
    const t_max_err written = dictionary_write(d, name, path);
    object_free(d);
    if (written == MAX_ERR_NONE) return 1;
    object_error(x, "cannot write %s: the file could not be written (folder missing or not writable, or disk full)", shown);
    return 0;
}

/* An integer entry within lo..hi: 1, or 0 with the reason in err. */
static inline int maxlearn_file_long(const t_dictionary *d, const char *key, t_atom_long lo, t_atom_long hi, long *out, char *err,
                                     size_t err_size)
{
    t_atom a;
    t_atom_long v;
    if (!dictionary_hasentry(d, gensym(key))) {
        snprintf(err, err_size, "no \"%s\"", key);
        return 0;
    }
    if (dictionary_getatom(d, gensym(key), &a) != MAX_ERR_NONE || atom_gettype(&a) != A_LONG) {
        snprintf(err, err_size, "\"%s\" is not an integer", key);
        return 0;
    }
    v = atom_getlong(&a);
    if (v < lo || v > hi) {
        snprintf(err, err_size, "\"%s\" is %lld, beyond %lld to %lld", key, (long long)v, (long long)lo, (long long)hi);
        return 0;
    }
    *out = (long)v;
    return 1;
}

/* A finite real, into v (an integer is taken as the same real): 1, or 0. */
static inline int maxlearn_file_atom_real(const t_atom *a, double *v)
{
    if (atom_gettype(a) == A_FLOAT)
        *v = atom_getfloat(a);
    else if (atom_gettype(a) == A_LONG)
        *v = (double)atom_getlong(a);
    else
        return 0;
    return isfinite(*v);
}

/* The file's "format" is `format` and its "version" one this object reads (1 to newest): 1, or 0
 * with the reason in err. */
static inline int maxlearn_file_format(const t_dictionary *d, const char *format, long newest, char *err, size_t err_size)
{
    t_symbol *found = NULL;
    long version = 0;
    if (dictionary_getsym(d, gensym("format"), &found) != MAX_ERR_NONE || !found) {
        snprintf(err, err_size, "no \"format\": not a %s model", format);
        return 0;
    }
    if (strcmp(found->s_name, format) != 0) {
        snprintf(err, err_size, "format \"%s\", not \"%s\"", found->s_name, format);
        return 0;
    }
    if (!maxlearn_file_long(d, "version", 1, LONG_MAX, &version, err, err_size)) return 0;
    if (version > newest) {
        snprintf(err, err_size, "version %ld, newer than %ld", version, newest);
        return 0;
    }
    return 1;
}

#endif
