/* Small helpers that externals commonly use. */
#ifndef MAXHOST_EXT_COMMON_H
#define MAXHOST_EXT_COMMON_H

#include "ext_prefix.h"

#ifndef MIN
#define MIN(a, b) ((a) < (b) ? (a) : (b))
#endif
#ifndef MAX
#define MAX(a, b) ((a) > (b) ? (a) : (b))
#endif
/* A NaN comes out as lo. */
#ifndef CLAMP
#define CLAMP(a, lo, hi) ((a) > (lo) ? ((a) < (hi) ? (a) : (hi)) : (lo))
#endif

#endif
