// Growable arrays of atoms, held in a std::vector behind the host record.
#include "ext_atomarray.h"

#include "svc_internal.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace {

// An array of 32-bit integers (read from JSON or appended to a dictionary), held at 4 bytes each
// until its atoms are first asked for: a model's large integer arrays then take a quarter of
// their atoms' size while the rest of the file is read or written, and a reader that takes one
// array after another expands one at a time.
struct Packed {
    std::vector<std::int32_t> values;
    std::atomic<bool> expanded{false};
    std::mutex lock;  // two threads may ask for the atoms of one array at once
};

}  // namespace

struct _atomarray {
    t_object ob;
    std::vector<t_atom> *atoms;
    long flags;
    Packed *packed;  // set for an array of integers (expanded or not)
};

namespace {

void atomarray_release(t_atomarray *x) {
    delete x->atoms;
    delete x->packed;
    x->atoms = nullptr;
    x->packed = nullptr;
}

t_class *atomarray_class() {
    static t_class *c = maxhost_svc::make_internal_class(
        "atomarray", maxhost_svc::as_method(atomarray_release), sizeof(t_atomarray));
    return c;
}

// The atoms, made from the packed integers on first use; null without memory for them.
std::vector<t_atom> *atoms_of(t_atomarray *x) {
    if (!x) return nullptr;
    Packed *p = x->packed;
    if (p && !p->expanded.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> g(p->lock);
        if (!p->expanded.load(std::memory_order_relaxed)) {
            try {
                x->atoms->resize(p->values.size());
            } catch (const std::bad_alloc &) {
                return nullptr;
            }
            for (size_t i = 0; i < p->values.size(); ++i) atom_setlong(&(*x->atoms)[i], p->values[i]);
            std::vector<std::int32_t>().swap(p->values);
            p->expanded.store(true, std::memory_order_release);
        }
    }
    return x->atoms;
}

}  // namespace

bool maxhost_svc::atomarray_with_integers(t_atomarray *x, const std::function<void(const std::int32_t *, size_t)> &fn) {
    Packed *p = x ? x->packed : nullptr;
    if (!p || p->expanded.load(std::memory_order_acquire)) return false;
    std::lock_guard<std::mutex> g(p->lock);
    if (p->expanded.load(std::memory_order_relaxed)) return false;
    fn(p->values.data(), p->values.size());
    return true;
}

t_atomarray *maxhost_svc::atomarray_adopt(std::vector<t_atom> &&atoms) {
    auto *x = static_cast<t_atomarray *>(object_alloc(atomarray_class()));
    if (x) x->atoms = new std::vector<t_atom>(std::move(atoms));
    return x;
}

t_atomarray *maxhost_svc::atomarray_adopt_integers(std::vector<std::int32_t> &&values) {
    auto *x = static_cast<t_atomarray *>(object_alloc(atomarray_class()));
    if (!x) return nullptr;
    x->atoms = new std::vector<t_atom>;
    x->packed = new Packed;
    x->packed->values = std::move(values);
    return x;
}

extern "C" {

t_atomarray *atomarray_new(long ac, t_atom *av) {
    auto *x = static_cast<t_atomarray *>(object_alloc(atomarray_class()));
    if (!x) return nullptr;
    x->atoms = new std::vector<t_atom>;
    if (ac > 0 && av) x->atoms->assign(av, av + ac);
    return x;
}

void atomarray_flags(t_atomarray *x, long flags) {
    if (x) x->flags = flags;
}

t_max_err atomarray_setatoms(t_atomarray *x, long ac, t_atom *av) {
    std::vector<t_atom> *atoms = atoms_of(x);
    if (!atoms) return MAX_ERR_INVALID_PTR;
    // Build the new contents first: av may point into this array.
    std::vector<t_atom> incoming;
    if (ac > 0 && av) incoming.assign(av, av + ac);
    atoms->swap(incoming);
    return MAX_ERR_NONE;
}

t_max_err atomarray_getatoms(t_atomarray *x, long *ac, t_atom **av) {
    std::vector<t_atom> *atoms = atoms_of(x);
    if (ac) *ac = 0;
    if (av) *av = nullptr;
    if (x && !atoms) return MAX_ERR_OUT_OF_MEM;
    if (!atoms || !ac || !av) return MAX_ERR_INVALID_PTR;
    *ac = static_cast<long>(atoms->size());
    *av = atoms->empty() ? nullptr : atoms->data();
    return MAX_ERR_NONE;
}

t_max_err atomarray_copyatoms(t_atomarray *x, long *ac, t_atom **av) {
    std::vector<t_atom> *atoms = atoms_of(x);
    if (ac) *ac = 0;
    if (av) *av = nullptr;
    if (!atoms || !ac || !av) return MAX_ERR_INVALID_PTR;
    if (atoms->empty()) return MAX_ERR_NONE;
    size_t bytes = atoms->size() * sizeof(t_atom);
    auto *copy = reinterpret_cast<t_atom *>(sysmem_newptr(bytes));
    if (!copy) return MAX_ERR_OUT_OF_MEM;
    std::memcpy(copy, atoms->data(), bytes);
    *ac = static_cast<long>(atoms->size());
    *av = copy;
    return MAX_ERR_NONE;
}

t_atom_long atomarray_getsize(t_atomarray *x) {
    std::vector<t_atom> *atoms = atoms_of(x);
    return atoms ? static_cast<t_atom_long>(atoms->size()) : 0;
}

t_max_err atomarray_getindex(t_atomarray *x, long index, t_atom *av) {
    std::vector<t_atom> *atoms = atoms_of(x);
    if (!atoms || !av) return MAX_ERR_INVALID_PTR;
    if (index < 0 || static_cast<size_t>(index) >= atoms->size()) return MAX_ERR_GENERIC;
    *av = (*atoms)[static_cast<size_t>(index)];
    return MAX_ERR_NONE;
}

void atomarray_clear(t_atomarray *x) {
    if (std::vector<t_atom> *atoms = atoms_of(x)) atoms->clear();
}

void atomarray_appendatom(t_atomarray *x, t_atom *a) {
    std::vector<t_atom> *atoms = atoms_of(x);
    if (!atoms || !a) return;
    t_atom copy = *a;  // a may point into this array
    atoms->push_back(copy);
}

void atomarray_appendatoms(t_atomarray *x, long ac, t_atom *av) {
    std::vector<t_atom> *atoms = atoms_of(x);
    if (!atoms || !av || ac <= 0) return;
    // The atoms may come from this very array (getatoms), which growing would move.
    std::vector<t_atom> incoming(av, av + ac);
    atoms->insert(atoms->end(), incoming.begin(), incoming.end());
}

}  // extern "C"
