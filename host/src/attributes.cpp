// Attributes: offset fields read and written by type, clip filters, custom accessors and the
// metadata kept for tools. A setting passes the clip filter, then the setter (custom or plain).
#include "core_internal.h"

#include <cmath>
#include <cstdarg>
#include <cstring>

using namespace maxhost_core;

namespace {

void attr_free(AttrRec *a) {
    delete a->info;
    a->info = nullptr;
}

// object_method(attr, "setmethod", "get" | "set", fn) installs a custom accessor.
void *attr_setmethod(AttrRec *a, t_symbol *which, method fn) {
    if (!a || !a->info) return nullptr;
    if (which == syms().get)
        a->info->getter = fn;
    else if (which == syms().set)
        a->info->setter = fn;
    return nullptr;
}

void *no_constructor() { return nullptr; }

t_class *attr_class() {
    static t_class *c = [] {
        t_class *k = class_new("attr_offset", reinterpret_cast<method>(no_constructor),
                               reinterpret_cast<method>(attr_free), sizeof(AttrRec), nullptr, 0);
        class_addmethod(k, reinterpret_cast<method>(attr_setmethod), "setmethod", A_CANT, 0);
        return k;
    }();
    return c;
}

enum class FieldType { char_, long_, atom_long, float32, float64, symbol, atom, unknown };

FieldType field_type(const t_symbol *type) {
    if (!type) return FieldType::unknown;
    const char *t = type->s_name;
    if (!std::strcmp(t, "char")) return FieldType::char_;
    if (!std::strcmp(t, "long")) return FieldType::long_;
    if (!std::strcmp(t, "atom_long")) return FieldType::atom_long;
    if (!std::strcmp(t, "float32")) return FieldType::float32;
    if (!std::strcmp(t, "float64")) return FieldType::float64;
    if (!std::strcmp(t, "symbol") || !std::strcmp(t, "sym")) return FieldType::symbol;
    if (!std::strcmp(t, "atom")) return FieldType::atom;
    return FieldType::unknown;
}

bool is_integer_type(FieldType f) {
    return f == FieldType::char_ || f == FieldType::long_ || f == FieldType::atom_long;
}

void clip(const AttrInfo &info, t_atom *a) {
    FieldType ft = field_type(info.type);
    if (a->a_type != A_LONG && a->a_type != A_FLOAT) {
        // A word is converted as the plain store would read it, then bound like any number, so
        // "mu foo" lands inside the range instead of storing 0 below it.
        if (ft == FieldType::symbol) return;
        if (ft == FieldType::float32 || ft == FieldType::float64)
            atom_setfloat(a, atom_getfloat(a));
        else
            atom_setlong(a, atom_getlong(a));
    }
    if (a->a_type == A_LONG && !is_integer_type(ft) && ft != FieldType::atom && ft != FieldType::unknown)
        atom_setfloat(a, static_cast<double>(a->a_w.w_long));  // a real-valued attribute clips as a real
    if (a->a_type == A_LONG) {
        t_atom_long v = a->a_w.w_long;
        // An integer stays inside fractional bounds: the nearest integers within them.
        if (info.clip_min && static_cast<double>(v) < info.min) v = to_long(std::ceil(info.min));
        if (info.clip_max && static_cast<double>(v) > info.max) v = to_long(std::floor(info.max));
        a->a_w.w_long = v;
    } else {
        double v = a->a_w.w_float;
        // At a bound the bound itself is stored, so -0. clipped at 0 is stored as 0.
        if (info.clip_min && v <= info.min) v = info.min;
        if (info.clip_max && v >= info.max) v = info.max;
        a->a_w.w_float = v;
    }
}

void store(t_object *x, const AttrInfo &info, const t_atom *a) {
    char *field = reinterpret_cast<char *>(x) + info.offset;
    switch (field_type(info.type)) {
    case FieldType::char_: *reinterpret_cast<t_uint8 *>(field) = static_cast<t_uint8>(atom_getlong(a)); break;
    case FieldType::long_: *reinterpret_cast<long *>(field) = static_cast<long>(atom_getlong(a)); break;
    case FieldType::atom_long: *reinterpret_cast<t_atom_long *>(field) = atom_getlong(a); break;
    case FieldType::float32: *reinterpret_cast<float *>(field) = static_cast<float>(atom_getfloat(a)); break;
    case FieldType::float64: *reinterpret_cast<double *>(field) = atom_getfloat(a); break;
    case FieldType::symbol:
        *reinterpret_cast<t_symbol **>(field) =
            a->a_type == A_SYM ? atom_getsym(a) : gensym(maxhost::atom_to_text(*a).c_str());
        break;
    case FieldType::atom: std::memcpy(field, a, sizeof(t_atom)); break;
    case FieldType::unknown: break;
    }
}

void load(t_object *x, const AttrInfo &info, t_atom *a) {
    const char *field = reinterpret_cast<const char *>(x) + info.offset;
    switch (field_type(info.type)) {
    case FieldType::char_: atom_setlong(a, *reinterpret_cast<const t_uint8 *>(field)); break;
    case FieldType::long_: atom_setlong(a, *reinterpret_cast<const long *>(field)); break;
    case FieldType::atom_long: atom_setlong(a, *reinterpret_cast<const t_atom_long *>(field)); break;
    case FieldType::float32: atom_setfloat(a, *reinterpret_cast<const float *>(field)); break;
    case FieldType::float64: atom_setfloat(a, *reinterpret_cast<const double *>(field)); break;
    case FieldType::symbol: atom_setsym(a, *reinterpret_cast<t_symbol *const *>(field)); break;
    case FieldType::atom: std::memcpy(a, field, sizeof(t_atom)); break;
    case FieldType::unknown: atom_setlong(a, 0); break;
    }
}

bool is_attr_name(const t_atom &a) {
    return a.a_type == A_SYM && a.a_w.w_sym && a.a_w.w_sym->s_name[0] == '@' && a.a_w.w_sym->s_name[1];
}

AttrRec *attr_of(void *x, t_symbol *s) {
    if (!is_live(x) || !s) return nullptr;
    return find_attr(static_cast<t_object *>(x)->o_messlist, s);
}

const Meta *find_meta(const std::vector<Meta> &meta, const std::string &key) {
    for (const Meta &m : meta)
        if (key == m.key->s_name) return &m;
    return nullptr;
}

}  // namespace

namespace maxhost_core {

AttrRec *find_attr(t_class *c, const t_symbol *name) {
    if (!c) return nullptr;
    auto it = c->attrs.find(name);
    return it == c->attrs.end() ? nullptr : it->second;
}

bool attr_set(t_object *x, AttrRec *a, long ac, const t_atom *av) {
    if (!a || !a->info || ac < 0) return false;
    const AttrInfo &info = *a->info;
    if (ac == 0) {
        // Max may call a custom setter with no atoms (the attribute's name sent alone), and with
        // an atom array behind argv that it must not read; the plain store has nothing to store.
        if (!info.setter) return false;
        t_atom nothing[1] = {};
        using F = t_max_err (*)(void *, void *, long, t_atom *);
        reinterpret_cast<F>(info.setter)(x, a, 0, nothing);
        return true;
    }
    if (!av) return false;
    t_atom small[16];
    std::vector<t_atom> big;
    t_atom *v = small;
    if (ac > 16) {
        big.resize(static_cast<size_t>(ac));
        v = big.data();
    }
    for (long i = 0; i < ac; ++i) {
        v[i] = av[i];
        if (info.clip_min || info.clip_max) clip(info, &v[i]);
    }
    if (info.setter) {
        using F = t_max_err (*)(void *, void *, long, t_atom *);
        reinterpret_cast<F>(info.setter)(x, a, ac, v);
    } else {
        store(x, info, v);
    }
    return true;
}

bool attr_get(t_object *x, AttrRec *a, long *ac, t_atom **av) {
    if (!a || !a->info) return false;
    const AttrInfo &info = *a->info;
    if (info.getter) {
        using F = t_max_err (*)(void *, void *, long *, t_atom **);
        return reinterpret_cast<F>(info.getter)(x, a, ac, av) == MAX_ERR_NONE;
    }
    char alloc = 0;
    if (atom_alloc(ac, av, &alloc) != MAX_ERR_NONE) return false;
    load(x, info, *av);
    return true;
}

void set_meta(std::vector<Meta> &meta, t_symbol *key, t_symbol *type, const char *parsestr) {
    std::vector<t_atom> value;
    FieldType ft = field_type(type);
    if (ft == FieldType::symbol) {
        // A symbol value is the whole text, spaces and all.
        t_atom a;
        atom_setsym(&a, gensym(parsestr ? parsestr : ""));
        value.push_back(a);
    } else {
        value = maxhost::parse_atoms(parsestr ? parsestr : "");
        for (t_atom &a : value) {
            if (is_integer_type(ft) && a.a_type == A_FLOAT) atom_setlong(&a, to_long(a.a_w.w_float));
            if ((ft == FieldType::float32 || ft == FieldType::float64) && a.a_type == A_LONG)
                atom_setfloat(&a, static_cast<double>(a.a_w.w_long));
        }
    }
    set_meta_atoms(meta, key, std::move(value));
}

void set_meta_atoms(std::vector<Meta> &meta, t_symbol *key, std::vector<t_atom> value) {
    for (Meta &m : meta)
        if (m.key == key) {
            m.value = std::move(value);
            return;
        }
    meta.push_back(Meta{key, std::move(value)});
}

}  // namespace maxhost_core

namespace {

// The first atom of an attribute's value, read by `get`; 0 when it cannot be read.
template <typename T>
T first_value(void *x, t_symbol *s, T (*get)(const t_atom *)) {
    long ac = 0;
    t_atom *av = nullptr;
    if (object_attr_getvalueof(x, s, &ac, &av) != MAX_ERR_NONE) return 0;
    T v = ac > 0 ? get(av) : 0;
    sysmem_freeptr(av);
    return v;
}

template <typename T, typename V>
t_max_err set_one(void *x, t_symbol *s, V value, t_max_err (*set)(t_atom *, T)) {
    t_atom a;
    set(&a, value);
    return object_attr_setvalueof(x, s, 1, &a);
}

}  // namespace

extern "C" {

t_object *attr_offset_new(C74_CONST char *name, C74_CONST t_symbol *type, long flags, C74_CONST method mget,
                          C74_CONST method mset, long offset) {
    if (!name) return nullptr;
    auto *a = static_cast<AttrRec *>(object_alloc(attr_class()));
    if (!a) return nullptr;
    a->info = new AttrInfo;
    a->info->name = gensym(name);
    a->info->type = const_cast<t_symbol *>(type);
    a->info->flags = flags;
    a->info->getter = mget;
    a->info->setter = mset;
    a->info->offset = offset;
    if (field_type(type) == FieldType::unknown)
        report_error(std::string("attr_offset_new: ") + name + ": unknown type \"" +
                     (type ? type->s_name : "") + "\"");
    return &a->ob;
}

t_max_err class_addattr(t_class *c, t_object *attr) {
    if (!c || !is_live(attr) || attr->o_messlist != attr_class()) return MAX_ERR_INVALID_PTR;
    auto *a = reinterpret_cast<AttrRec *>(attr);
    t_symbol *name = a->info->name;
    auto it = c->attrs.find(name);
    if (it != c->attrs.end()) {
        // A later declaration replaces the earlier one, keeping its place.
        for (AttrRec *&slot : c->attr_order)
            if (slot == it->second) slot = a;
        object_free(it->second);
        it->second = a;
        return MAX_ERR_NONE;
    }
    c->attrs.emplace(name, a);
    c->attr_order.push_back(a);
    return MAX_ERR_NONE;
}

void *class_attr_get(t_class *c, t_symbol *attrname) {
    AttrRec *a = find_attr(c, attrname);
    return a ? &a->ob : nullptr;
}

t_max_err class_attr_addattr_parse(t_class *c, C74_CONST char *attrname, C74_CONST char *attrname2,
                                   t_symbol *type, long /*flags*/, C74_CONST char *parsestr) {
    if (!c || !attrname || !attrname2) return MAX_ERR_INVALID_PTR;
    AttrRec *a = find_attr(c, gensym(attrname));
    if (!a) {
        report_error(std::string(c->name->s_name) + ": no attribute \"" + attrname + "\" to describe");
        return MAX_ERR_GENERIC;
    }
    set_meta(a->info->meta, gensym(attrname2), type, parsestr);
    return MAX_ERR_NONE;
}

t_max_err class_attr_addattr_format(t_class *c, C74_CONST char *attrname, C74_CONST char *attrname2,
                                    t_symbol * /*type*/, long /*flags*/, C74_CONST char *fmt, ...) {
    if (!c || !attrname || !attrname2 || !fmt) return MAX_ERR_INVALID_PTR;
    AttrRec *a = find_attr(c, gensym(attrname));
    if (!a) {
        report_error(std::string(c->name->s_name) + ": no attribute \"" + attrname + "\" to describe");
        return MAX_ERR_GENERIC;
    }
    std::vector<t_atom> value;
    va_list args;
    va_start(args, fmt);
    for (const char *f = fmt; *f; ++f) {
        t_atom at;
        switch (*f) {
        case 'c':
        case 'h':
        case 'i': atom_setlong(&at, va_arg(args, int)); break;
        case 'l': atom_setlong(&at, va_arg(args, long)); break;
        case 'f':
        case 'd': atom_setfloat(&at, va_arg(args, double)); break;
        case 's': {
            t_symbol *s = va_arg(args, t_symbol *);
            atom_setsym(&at, s ? s : gensym(""));
            break;
        }
        default:
            va_end(args);
            report_error(std::string(c->name->s_name) + ": attribute \"" + attrname + "\": unknown format character '" +
                         *f + "'");
            return MAX_ERR_GENERIC;
        }
        value.push_back(at);
    }
    va_end(args);
    set_meta_atoms(a->info->meta, gensym(attrname2), std::move(value));
    return MAX_ERR_NONE;
}

t_max_err attr_addfilter_clip(void *x, double min, double max, long usemin, long usemax) {
    auto *o = static_cast<t_object *>(x);
    if (!is_live(o) || o->o_messlist != attr_class()) return MAX_ERR_INVALID_PTR;
    AttrInfo &info = *reinterpret_cast<AttrRec *>(o)->info;
    info.clip_min = usemin != 0;
    info.clip_max = usemax != 0;
    info.min = min;
    info.max = max;
    return MAX_ERR_NONE;
}

long attr_args_offset(short ac, t_atom *av) {
    if (!av || ac <= 0) return 0;
    for (short i = 0; i < ac; ++i)
        if (is_attr_name(av[i])) return i;
    return ac;
}

void attr_args_process(void *x, short ac, t_atom *av) {
    if (!is_live(x) || !av || ac <= 0) return;
    auto *o = static_cast<t_object *>(x);
    for (long i = attr_args_offset(ac, av); i < ac;) {
        long j = i + 1;
        while (j < ac && !is_attr_name(av[j])) ++j;
        const char *name = av[i].a_w.w_sym->s_name + 1;
        AttrRec *a = find_attr(o->o_messlist, gensym(name));
        if (!a)
            report_error(std::string(o->o_messlist->name->s_name) + ": no attribute named \"" + name + "\"");
        else if (j - i - 1 > 0)
            attr_set(o, a, j - i - 1, av + i + 1);
        i = j;
    }
}

t_max_err object_attr_getvalueof(void *x, t_symbol *s, long *argc, t_atom **argv) {
    if (!argc || !argv) return MAX_ERR_INVALID_PTR;
    AttrRec *a = attr_of(x, s);
    if (!a) return MAX_ERR_GENERIC;
    return attr_get(static_cast<t_object *>(x), a, argc, argv) ? MAX_ERR_NONE : MAX_ERR_GENERIC;
}

t_max_err object_attr_setvalueof(void *x, t_symbol *s, long argc, t_atom *argv) {
    AttrRec *a = attr_of(x, s);
    if (!a) return MAX_ERR_GENERIC;
    return attr_set(static_cast<t_object *>(x), a, argc, argv) ? MAX_ERR_NONE : MAX_ERR_GENERIC;
}

t_atom_long object_attr_getlong(void *x, t_symbol *s) { return first_value(x, s, atom_getlong); }

t_max_err object_attr_setlong(void *x, t_symbol *s, t_atom_long c) { return set_one(x, s, c, atom_setlong); }

t_atom_float object_attr_getfloat(void *x, t_symbol *s) { return first_value(x, s, atom_getfloat); }

t_max_err object_attr_setfloat(void *x, t_symbol *s, t_atom_float c) { return set_one(x, s, c, atom_setfloat); }

}  // extern "C"

namespace maxhost {

std::vector<std::string> attribute_names(t_class *c) {
    std::vector<std::string> out;
    if (!c) return out;
    for (AttrRec *a : c->attr_order) out.emplace_back(a->info->name->s_name);
    return out;
}

bool has_attribute(t_object *x, const std::string &name) { return attr_of(x, gensym(name.c_str())) != nullptr; }

bool get_attribute(t_object *x, const std::string &name, std::vector<t_atom> *value) {
    AttrRec *a = attr_of(x, gensym(name.c_str()));
    if (!a) return false;
    long ac = 0;
    t_atom *av = nullptr;
    bool ok = attr_get(x, a, &ac, &av);
    if (ok && value) value->assign(av, av + (av ? ac : 0));
    if (av) sysmem_freeptr(av);
    return ok;
}

bool set_attribute(t_object *x, const std::string &name, long argc, t_atom *argv) {
    AttrRec *a = attr_of(x, gensym(name.c_str()));
    return a && attr_set(x, a, argc, argv);
}

bool attribute_meta(t_class *c, const std::string &attr, const std::string &key, std::vector<t_atom> *value) {
    AttrRec *a = find_attr(c, gensym(attr.c_str()));
    if (!a) return false;
    const Meta *m = find_meta(a->info->meta, key);
    if (!m) return false;
    if (value) *value = m->value;
    return true;
}

bool method_meta(t_class *c, const std::string &method_name, const std::string &key, std::vector<t_atom> *value) {
    if (!c) return false;
    auto it = c->methods.find(gensym(method_name.c_str()));
    if (it == c->methods.end()) return false;
    ObjectHost *h = host_of(&it->second->ob, false);
    if (!h) return false;
    const Meta *m = find_meta(h->meta, key);
    if (!m) return false;
    if (value) *value = m->value;
    return true;
}

std::vector<std::string> method_names(t_class *c) {
    std::vector<std::string> out;
    if (!c) return out;
    for (MethodRec *m : c->method_order) out.emplace_back(m->name->s_name);
    return out;
}

std::string assist(t_object *x, long which, long index) {
    if (!is_live(x)) return std::string();
    t_class *c = x->o_messlist;
    if (c->methods.find(syms().assist) == c->methods.end()) return std::string();
    char buf[512] = {0};
    object_method(x, syms().assist, nullptr, reinterpret_cast<void *>(which), reinterpret_cast<void *>(index), buf);
    buf[sizeof buf - 1] = '\0';
    return buf;
}

}  // namespace maxhost
