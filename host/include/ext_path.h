/* Folders and files. A folder is named by a path id (a short); a file by its name in a folder. */
#ifndef MAXHOST_EXT_PATH_H
#define MAXHOST_EXT_PATH_H

#include "ext_prefix.h"

#define MAX_PATH_CHARS 2048
#define MAX_FILENAME_CHARS 512

BEGIN_USING_C_LINKAGE

typedef enum {
    PATH_STYLE_MAX = 0,
    PATH_STYLE_NATIVE,
    PATH_STYLE_COLON,
    PATH_STYLE_SLASH,
    PATH_STYLE_NATIVE_WIN
} e_max_path_styles;

typedef enum {
    PATH_TYPE_IGNORE = 0,
    PATH_TYPE_ABSOLUTE,
    PATH_TYPE_RELATIVE,
    PATH_TYPE_BOOT,
    PATH_TYPE_C74,
    PATH_TYPE_PATH,
    PATH_TYPE_DESKTOP,
    PATH_TYPE_TILDE,
    PATH_TYPE_TEMPFOLDER,
    PATH_TYPE_MAXDB
} e_max_path_types;

/** The folder files without a folder go to and are first looked for in (the patch's folder). */
short path_getdefault(void);
void path_setdefault(short path, short recursive);
/** The full name of `file` in folder `path`, into `name` (MAX_PATH_CHARS). 0 on success. */
short path_topathname(C74_CONST short path, C74_CONST char *file, char *name);
/** Splits a full name into its folder's path id and the file name (MAX_FILENAME_CHARS); the
 *  folder must exist. 0 on success. */
short path_frompathname(C74_CONST char *name, short *path, char *filename);
/** The file's name as the operating system writes it, into out_filepath (MAX_PATH_CHARS). */
short path_toabsolutesystempath(C74_CONST short in_path, C74_CONST char *in_filename, char *out_filepath);
short path_nameconform(C74_CONST char *src, char *dst, long style, long type);

/** Finds a file: a full name, or a name looked for in the default folder and then the search
 *  path. On success (0) `name` is left the file's own name and *outvol its folder. */
short locatefile_extended(char *name, short *outvol, t_fourcc *outtype, C74_CONST t_fourcc *filetypelist,
                          short numtypes);

/** The save and open dialogs: 0 with the chosen file in name/vol, nonzero when cancelled. */
short saveasdialog_extended(char *name, short *vol, t_fourcc *type, t_fourcc *typelist, short numtypes);
short open_dialog(char *name, short *volptr, t_fourcc *typeptr, t_fourcc *types, short ntypes);

END_USING_C_LINKAGE

#endif
