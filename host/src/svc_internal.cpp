#include "svc_internal.h"

namespace maxhost_svc {

namespace {
// Internal records are filled in by their own constructor functions, not by a class constructor.
void *no_constructor() { return nullptr; }
}  // namespace

t_class *make_internal_class(const char *name, method release, long size) {
    return class_new(name, as_method(no_constructor), release, size, nullptr, 0);
}

void let_go(void *item, long flags) {
    if (!item) return;
    if (flags & OBJ_FLAG_MEMORY)
        sysmem_freeptr(item);
    else if (flags & (OBJ_FLAG_REF | OBJ_FLAG_DATA))
        return;
    else
        object_free(item);
}

}  // namespace maxhost_svc
