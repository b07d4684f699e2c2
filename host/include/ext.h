/* The Max C API, as this project's stand-in for the host provides it. Externals include this first. */
#ifndef MAXHOST_EXT_H
#define MAXHOST_EXT_H

#include "ext_prefix.h"
#include "ext_mess.h"
#include "ext_proto.h"
#include "ext_sysmem.h"
#include "ext_systhread.h"
#include "ext_assist.h"
#include "ext_path.h"

#include <stdio.h>
#include <string.h>
#include <stdlib.h>

/** Clocks are objects: clock_free is no function of its own. */
#define clock_free freeobject

BEGIN_USING_C_LINKAGE
/** The entry current hosts call once when they load an external. */
C74_EXPORT void ext_main(void *r);
END_USING_C_LINKAGE

#endif
