// The deferred-call queue, as object_free sees it.
#pragma once

#include "ext.h"
#include "maxhost/runtime.h"

namespace maxhost_defer {

// Drops the calls still queued for an object being freed.
void forget(void *ob);

}  // namespace maxhost_defer
