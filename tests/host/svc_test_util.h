// Helpers shared by the host-service tests.
#pragma once

#include "ext.h"
#include "ext_obex.h"

#include <cstdint>

// A handler of any signature as the API's generic method type.
template <typename F>
method as_method(F *fn) {
    return reinterpret_cast<method>(reinterpret_cast<void (*)()>(fn));
}

// An integer passed where a symbol key is expected, as the objects do.
inline t_symbol *int_key(intptr_t n) { return reinterpret_cast<t_symbol *>(n); }

inline long *number_block(long value) {
    auto *p = reinterpret_cast<long *>(sysmem_newptr(sizeof(long)));
    *p = value;
    return p;
}

// A host object whose destructor counts how often it ran.
struct Counted {
    t_object ob;
    int *frees;
};

inline void counted_free(Counted *x) { ++*x->frees; }

inline Counted *counted_new(int *frees) {
    static t_class *c = class_new("svc_counted", nullptr, as_method(counted_free), sizeof(Counted), nullptr, 0);
    auto *x = static_cast<Counted *>(object_alloc(c));
    x->frees = frees;
    return x;
}
