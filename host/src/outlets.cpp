// Outlets and patch cords: sending runs every connected object, depth first, before returning;
// then the source's observer (if any) sees what was sent.
#include "core_internal.h"

#include <algorithm>

using namespace maxhost_core;

namespace {

int index_of(t_outlet *o) {
    int i = 0;
    for (t_outlet *p = o->owner->o_outlet; p; p = p->next, ++i)
        if (p == o) return i;
    return -1;
}

void observe(t_outlet *o, t_symbol *sel, long ac, const t_atom *av) {
    auto *h = host_of(o->owner, false);
    if (h && h->observer) h->observer(o->owner, index_of(o), sel, ac, av);
}

// Cords may be added or removed by the objects they reach, so the walk re-reads the list.
void send_all(t_outlet *o, t_symbol *sel, long ac, t_atom *av) {
    const std::vector<Cord> &cords = *o->cords;
    for (size_t i = 0; i < cords.size(); ++i) deliver(cords[i].to, sel, ac, av);
    if (!chain_dropped()) observe(o, sel, ac, av);  // a dropped chain reaches no one
}

void drop_incoming(t_object *to, t_outlet *from) {
    auto *h = host_of(to, false);
    if (!h) return;
    auto it = std::find(h->incoming.begin(), h->incoming.end(), from);
    if (it != h->incoming.end()) h->incoming.erase(it);
}

// Takes the outlet out of its owner's row and drops its cords; object_free releases the record.
void outlet_release(t_outlet *o) {
    if (t_object *owner = o->owner) {
        for (t_outlet **p = &owner->o_outlet; *p; p = &(*p)->next)
            if (*p == o) {
                *p = o->next;
                break;
            }
    }
    o->owner = nullptr;
    o->next = nullptr;
    if (o->cords) {
        for (const Cord &c : *o->cords) drop_incoming(c.to, o);
        delete o->cords;
        o->cords = nullptr;
    }
}

void *no_constructor() { return nullptr; }

t_class *outlet_class() {
    static t_class *c = class_new("outlet", reinterpret_cast<method>(no_constructor),
                                  reinterpret_cast<method>(outlet_release), sizeof(t_outlet), nullptr, 0);
    return c;
}

void *make_outlet(void *x, t_symbol *type) {
    auto *owner = static_cast<t_object *>(x);
    if (!is_live(owner)) return nullptr;
    auto *o = static_cast<t_outlet *>(object_alloc(outlet_class()));
    if (!o) return nullptr;
    o->cords = new std::vector<Cord>;
    o->owner = owner;
    o->type = type;
    o->next = owner->o_outlet;
    owner->o_outlet = o;  // each new outlet stands left of the earlier ones
    return o;
}

}  // namespace

namespace maxhost_core {

void release_outlets(t_object *x) {
    if (auto *h = host_of(x, false)) {
        // Cords into this object go first, so no outlet is left pointing at freed memory.
        for (t_outlet *from : h->incoming) {
            auto &cords = *from->cords;
            cords.erase(std::remove_if(cords.begin(), cords.end(), [x](const Cord &c) { return c.to == x; }),
                        cords.end());
        }
        h->incoming.clear();
    }
    while (t_outlet *o = x->o_outlet) object_free(o);  // each release unlinks the leftmost
}

}  // namespace maxhost_core

extern "C" {

void *outlet_new(void *x, C74_CONST char *s) { return make_outlet(x, s ? gensym(s) : nullptr); }
void *bangout(void *x) { return make_outlet(x, syms().bang); }
void *intout(void *x) { return make_outlet(x, syms().int_); }
void *floatout(void *x) { return make_outlet(x, syms().float_); }
void *listout(void *x) { return make_outlet(x, syms().list); }

void *outlet_bang(void *o) {
    if (!o) return nullptr;
    send_all(static_cast<t_outlet *>(o), syms().bang, 0, nullptr);
    return o;
}

void *outlet_int(void *o, t_atom_long n) {
    if (!o) return nullptr;
    t_atom a;
    atom_setlong(&a, n);
    send_all(static_cast<t_outlet *>(o), syms().int_, 1, &a);
    return o;
}

void *outlet_float(void *o, double f) {
    if (!o) return nullptr;
    t_atom a;
    atom_setfloat(&a, f);
    send_all(static_cast<t_outlet *>(o), syms().float_, 1, &a);
    return o;
}

void *outlet_list(void *o, t_symbol * /*s*/, short ac, t_atom *av) {
    if (!o) return nullptr;
    send_all(static_cast<t_outlet *>(o), syms().list, ac < 0 ? 0 : ac, av);
    return o;
}

void *outlet_anything(void *o, t_symbol *s, short ac, t_atom *av) {
    if (!o || !s) return nullptr;
    send_all(static_cast<t_outlet *>(o), s, ac < 0 ? 0 : ac, av);
    return o;
}

}  // extern "C"

namespace maxhost {

int outlet_count(t_object *x) {
    if (!is_live(x)) return 0;
    int n = 0;
    for (t_outlet *o = x->o_outlet; o; o = o->next) ++n;
    return n;
}

void *outlet_at(t_object *x, int index) {
    if (!is_live(x) || index < 0) return nullptr;
    t_outlet *o = x->o_outlet;
    while (o && index-- > 0) o = o->next;
    return o;
}

bool connect(t_object *from, int outlet_index, t_object *to, int inlet) {
    if (!is_live(to) || inlet != 0) return false;
    auto *o = static_cast<t_outlet *>(outlet_at(from, outlet_index));
    if (!o) return false;
    for (const Cord &c : *o->cords)
        if (c.to == to && c.inlet == inlet) return false;  // one cord between the same pair
    o->cords->push_back(Cord{to, inlet});
    host_of(to, true)->incoming.push_back(o);
    return true;
}

bool disconnect(t_object *from, int outlet_index, t_object *to, int inlet) {
    auto *o = static_cast<t_outlet *>(outlet_at(from, outlet_index));
    if (!o || !is_live(to)) return false;
    for (auto it = o->cords->begin(); it != o->cords->end(); ++it) {
        if (it->to == to && it->inlet == inlet) {
            o->cords->erase(it);
            drop_incoming(to, o);
            return true;
        }
    }
    return false;
}

void set_outlet_observer(t_object *x, OutletObserver observer) {
    if (!is_live(x)) return;
    if (!observer && !host_of(x, false)) return;
    host_of(x, true)->observer = std::move(observer);
}

}  // namespace maxhost
