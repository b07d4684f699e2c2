// Inner records of the host core: classes, method and attribute objects, outlets and the
// bookkeeping each object carries. Shared by the core's source files only.
#pragma once

#include "ext.h"
#include "ext_obex.h"
#include "maxhost/runtime.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace maxhost_core {

constexpr t_ptr_int kLiveMagic = 0x6d6178686f7374;  // marks a record that object_free may release
constexpr int kMaxTypedArgs = 7;                      // typed arguments a handler may declare
constexpr int kMaxDeliveryDepth = 512;                // nested sends before the host gives up

// How a handler is called.
enum class CallKind : short {
    none,     // no arguments: fn(x)
    typed,    // A_LONG/A_FLOAT/A_SYM... converted one by one
    gimme,    // fn(x, s, ac, av)
    gimmeback,// fn(x, s, ac, av, rv)
    cant      // only through object_method, arguments passed untouched
};

// A method object: t_object-headed so it can carry metadata such as "undocumented".
struct MethodRec {
    t_object ob;
    t_symbol *name;
    method fn;
    CallKind kind;
    short ntypes;
    short types[kMaxTypedArgs];
};

// One piece of metadata attached to an attribute or any object.
struct Meta {
    t_symbol *key;
    std::vector<t_atom> value;
};

struct AttrInfo {
    t_symbol *name = nullptr;
    t_symbol *type = nullptr;
    long flags = 0;
    long offset = 0;
    method getter = nullptr;  // custom accessors win over the field access
    method setter = nullptr;
    bool clip_min = false, clip_max = false;
    double min = 0, max = 0;
    std::vector<Meta> meta;
};

// An attribute object, as class_attr_get hands it out.
struct AttrRec {
    t_object ob;
    AttrInfo *info;
};

struct Cord {
    t_object *to;
    int inlet;
};

}  // namespace maxhost_core

// An outlet is a host object: its owner frees it, or object_free releases it early.
struct outlet {
    t_object ob;
    t_object *owner;
    t_symbol *type;  // null for an untyped outlet
    t_outlet *next;  // the outlet to the right of this one
    std::vector<maxhost_core::Cord> *cords;
};

struct maxclass {
    t_symbol *name;
    method mnew;
    method mfree;
    long size;
    short ntypes;
    short types[maxhost_core::kMaxTypedArgs + 1];
    t_symbol *name_space;  // set when registered

    std::unordered_map<const t_symbol *, maxhost_core::MethodRec *> methods;
    std::vector<maxhost_core::MethodRec *> method_order;
    // The messages routed on every delivery, looked up once.
    maxhost_core::MethodRec *m_bang, *m_int, *m_float, *m_list, *m_anything;

    std::unordered_map<const t_symbol *, maxhost_core::AttrRec *> attrs;
    std::vector<maxhost_core::AttrRec *> attr_order;

    std::mutex extra_lock;     // guards the lazily made method table
    t_hashtab *method_table;   // what class_extra_lookup("methods") gives
};

namespace maxhost_core {

// Per-object bookkeeping, made on first need. It lives in a block just before the object record,
// which keeps the record's t_object header the four fields Max has.
struct ObjectHost {
    std::vector<Meta> meta;
    maxhost::OutletObserver observer;
    std::vector<t_outlet *> incoming;  // outlets with a cord into this object (one entry per cord)
};

ObjectHost *host_of(t_object *x, bool create);

// The block object_alloc puts before every record; aligned as malloc aligns, so the record is too.
struct alignas(alignof(std::max_align_t)) ObjectPrefix {
    ObjectHost *host;
};
inline ObjectPrefix *prefix_of(t_object *x) { return reinterpret_cast<ObjectPrefix *>(x) - 1; }

inline bool is_live(const void *x) {
    return x && static_cast<const t_object *>(x)->o_magic == kLiveMagic;
}

// Typed delivery of one message, as a patch cord does it. Returns false (after reporting) when the
// object does not understand it.
bool deliver(t_object *x, t_symbol *sel, long ac, t_atom *av);
// Marks a clock or queue task as one event: a stack overflow drops what is left of it, and the
// next event starts afresh. A send from outside any task is an event of its own.
struct EventScope {
    EventScope();
    ~EventScope();
    EventScope(const EventScope &) = delete;
    EventScope &operator=(const EventScope &) = delete;
};
// True while the rest of an overflowed chain is being dropped on this thread.
bool chain_dropped();
// Calls a handler with typed arguments converted from atoms. `self` may be null (constructors).
void *call_typed(method fn, void *self, const short *types, int ntypes, long ac, const t_atom *av);

// Attributes.
AttrRec *find_attr(t_class *c, const t_symbol *name);
bool attr_set(t_object *x, AttrRec *a, long ac, const t_atom *av);
// Reads an attribute into atoms allocated with sysmem (caller frees *av).
bool attr_get(t_object *x, AttrRec *a, long *ac, t_atom **av);
void set_meta(std::vector<Meta> &meta, t_symbol *key, t_symbol *type, const char *parsestr);
void set_meta_atoms(std::vector<Meta> &meta, t_symbol *key, std::vector<t_atom> value);

// Outlets.
void release_outlets(t_object *x);

// Well-known symbols, made once.
struct Syms {
    t_symbol *bang, *int_, *float_, *list, *anything, *assist, *box, *get, *set, *setmethod,
        *methods, *empty, *nobox;
};
const Syms &syms();

// Console helpers for host reports.
void report_error(const std::string &line);

t_class *class_lookup(t_symbol *name_space, t_symbol *name);

// Converts a double to an integer the way a truncating cast would, without undefined behaviour
// for values out of range (saturated) or NaN (0).
inline t_atom_long to_long(double d) {
    if (d != d) return 0;
    if (d >= 9.2233720368547758e18) return INT64_MAX;
    if (d <= -9.2233720368547758e18) return INT64_MIN;
    return static_cast<t_atom_long>(d);
}

}  // namespace maxhost_core
