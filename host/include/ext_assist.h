/* What an "assist" handler is asked about. */
#ifndef MAXHOST_EXT_ASSIST_H
#define MAXHOST_EXT_ASSIST_H

#define ASSIST_INLET 1
#define ASSIST_OUTLET 2

#endif
