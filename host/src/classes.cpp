// Classes and objects: registration, allocation and release, calls by name.
#include "core_internal.h"
#include "defer_internal.h"

#include <cstdarg>
#include <cstdlib>
#include <map>
#include <shared_mutex>

using namespace maxhost_core;

namespace {

struct Registry {
    std::shared_mutex lock;
    std::map<std::pair<const t_symbol *, const t_symbol *>, t_class *> classes;
};

Registry &registry() {
    static Registry *r = new Registry;  // classes live as long as the process
    return *r;
}

void *no_constructor() { return nullptr; }

void method_release(MethodRec *) {}

t_class *method_class() {
    static t_class *c = class_new("method", reinterpret_cast<method>(no_constructor),
                                  reinterpret_cast<method>(method_release), sizeof(MethodRec), nullptr, 0);
    return c;
}

CallKind kind_of(const short *types, int n) {
    if (n == 0) return CallKind::none;
    switch (types[0]) {
    case A_GIMME: return CallKind::gimme;
    case A_GIMMEBACK: return CallKind::gimmeback;
    case A_CANT: return CallKind::cant;
    default: return CallKind::typed;
    }
}

}  // namespace

namespace maxhost_core {

ObjectHost *host_of(t_object *x, bool create) {
    if (!x) return nullptr;
    ObjectHost *&h = prefix_of(x)->host;
    if (!h && create) h = new ObjectHost;
    return h;
}

t_class *class_lookup(t_symbol *name_space, t_symbol *name) {
    if (!name) return nullptr;
    if (!name_space) name_space = syms().box;
    Registry &r = registry();
    std::shared_lock<std::shared_mutex> read(r.lock);
    auto it = r.classes.find({name_space, name});
    return it == r.classes.end() ? nullptr : it->second;
}

}  // namespace maxhost_core

extern "C" {

t_class *class_new(C74_CONST char *name, C74_CONST method mnew, C74_CONST method mfree, long size,
                   C74_CONST method /*mmenu*/, short type, ...) {
    if (!name) {
        report_error("class_new: a class needs a name");
        return nullptr;
    }
    auto *c = new maxclass();
    c->name = gensym(name);
    c->mnew = mnew;
    c->mfree = mfree;
    c->size = size < static_cast<long>(sizeof(t_object)) ? static_cast<long>(sizeof(t_object)) : size;
    c->ntypes = 0;
    if (type != 0) {
        c->types[c->ntypes++] = type;
        va_list ap;
        // The Max API declares the last named parameter a short; every ABI Max runs on finds
        // the variable arguments after it all the same.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wvarargs"
#endif
        va_start(ap, type);
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
        for (;;) {
            int t = va_arg(ap, int);
            if (t == 0) break;
            if (c->ntypes >= kMaxTypedArgs) {
                report_error(std::string("class_new: ") + name + ": too many constructor arguments");
                break;
            }
            c->types[c->ntypes++] = static_cast<short>(t);
        }
        va_end(ap);
    }
    return c;
}

t_max_err class_addmethod(t_class *c, C74_CONST method m, C74_CONST char *name, ...) {
    if (!c || !name) return MAX_ERR_INVALID_PTR;
    short types[kMaxTypedArgs] = {0};
    int n = 0;
    bool too_many = false;
    va_list ap;
    va_start(ap, name);
    for (;;) {
        int t = va_arg(ap, int);
        if (t == 0) break;
        if (n >= kMaxTypedArgs) {
            too_many = true;
            break;
        }
        types[n++] = static_cast<short>(t);
    }
    va_end(ap);
    if (too_many) {
        report_error(std::string(c->name->s_name) + ": message \"" + name + "\" declares too many arguments");
        return MAX_ERR_GENERIC;
    }
    t_symbol *sym = gensym(name);
    MethodRec *rec;
    auto it = c->methods.find(sym);
    if (it != c->methods.end()) {
        rec = it->second;  // a second registration replaces the handler, as Max does
    } else {
        rec = static_cast<MethodRec *>(object_alloc(method_class()));
        if (!rec) return MAX_ERR_OUT_OF_MEM;
        rec->name = sym;
        c->methods.emplace(sym, rec);
        c->method_order.push_back(rec);
    }
    rec->fn = m;
    rec->ntypes = static_cast<short>(n);
    for (int i = 0; i < kMaxTypedArgs; ++i) rec->types[i] = types[i];
    rec->kind = kind_of(types, n);

    const Syms &s = syms();
    MethodRec *callable = rec->kind == CallKind::cant ? nullptr : rec;
    if (sym == s.bang) c->m_bang = callable;
    else if (sym == s.int_) c->m_int = callable;
    else if (sym == s.float_) c->m_float = callable;
    else if (sym == s.list) c->m_list = callable;
    else if (sym == s.anything) c->m_anything = callable;

    std::lock_guard<std::mutex> guard(c->extra_lock);
    if (c->method_table) hashtab_store(c->method_table, sym, &rec->ob);
    return MAX_ERR_NONE;
}

t_max_err class_register(t_symbol *name_space, t_class *c) {
    if (!c) return MAX_ERR_INVALID_PTR;
    if (!name_space) name_space = syms().box;
    Registry &r = registry();
    std::unique_lock<std::shared_mutex> write(r.lock);
    auto key = std::make_pair(static_cast<const t_symbol *>(name_space), static_cast<const t_symbol *>(c->name));
    auto it = r.classes.find(key);
    if (it != r.classes.end() && it->second != c) return MAX_ERR_DUPLICATE;
    r.classes[key] = c;
    c->name_space = name_space;
    return MAX_ERR_NONE;
}

t_class *class_findbyname(t_symbol *name_space, t_symbol *classname) {
    return class_lookup(name_space, classname);
}

void *class_extra_lookup(t_class *c, t_symbol *s) {
    if (!c || s != syms().methods) return nullptr;
    std::lock_guard<std::mutex> guard(c->extra_lock);
    if (!c->method_table) {
        // Made on first request: the table holds references, the class owns the method objects.
        t_hashtab *h = hashtab_new(0);
        if (!h) return nullptr;
        hashtab_flags(h, OBJ_FLAG_REF);
        for (MethodRec *m : c->method_order) hashtab_store(h, m->name, &m->ob);
        c->method_table = h;
    }
    return c->method_table;
}

t_symbol *class_nameget(t_class *c) { return c ? c->name : nullptr; }

t_max_err class_free(t_class *c) {
    if (!c) return MAX_ERR_INVALID_PTR;
    {
        Registry &r = registry();
        std::unique_lock<std::shared_mutex> write(r.lock);
        for (auto it = r.classes.begin(); it != r.classes.end();) {
            if (it->second == c)
                it = r.classes.erase(it);
            else
                ++it;
        }
    }
    if (c->method_table) object_free(c->method_table);
    for (MethodRec *m : c->method_order) object_free(m);
    for (AttrRec *a : c->attr_order) object_free(a);
    delete c;
    return MAX_ERR_NONE;
}

void *object_alloc(t_class *c) {
    if (!c) return nullptr;
    auto *p = static_cast<ObjectPrefix *>(std::calloc(1, sizeof(ObjectPrefix) + static_cast<size_t>(c->size)));
    if (!p) return nullptr;
    auto *x = reinterpret_cast<t_object *>(p + 1);
    x->o_messlist = c;
    x->o_magic = kLiveMagic;
    return x;
}

t_max_err object_free(void *p) {
    if (!p) {
        report_error("object_free: no object to free");
        return MAX_ERR_INVALID_PTR;
    }
    auto *x = static_cast<t_object *>(p);
    if (x->o_magic != kLiveMagic) {
        report_error("object_free: not a live object");
        return MAX_ERR_INVALID_PTR;
    }
    t_class *c = x->o_messlist;
    if (c && c->mfree) reinterpret_cast<void (*)(void *)>(c->mfree)(x);
    maxhost_defer::forget(x);
    release_outlets(x);
    ObjectPrefix *prefix = prefix_of(x);
    delete prefix->host;
    prefix->host = nullptr;
    x->o_magic = 0;
    std::free(prefix);
    return MAX_ERR_NONE;
}

// clock_free is this function (ext.h); a clock that was never made is nothing to free.
void freeobject(t_object *op) {
    if (op) object_free(op);
}

t_symbol *object_classname(void *x) {
    if (!is_live(x)) return nullptr;
    t_class *c = static_cast<t_object *>(x)->o_messlist;
    return c ? c->name : nullptr;
}

void *object_method_imp(void *x, void *sym, void *p1, void *p2, void *p3, void *p4, void *p5, void *p6, void *p7,
                        void *p8) {
    auto *s = static_cast<t_symbol *>(sym);
    if (!is_live(x) || !s) return nullptr;
    t_class *c = static_cast<t_object *>(x)->o_messlist;
    if (!c) return nullptr;
    auto it = c->methods.find(s);
    if (it == c->methods.end()) return nullptr;
    // Handlers called by name take up to eight pointer-sized arguments, passed through untouched.
    using F = void *(*)(void *, void *, void *, void *, void *, void *, void *, void *, void *);
    return reinterpret_cast<F>(it->second->fn)(x, p1, p2, p3, p4, p5, p6, p7, p8);
}

// The variadic form, for externals built where object_method is no macro (32-bit targets).
void *(object_method)(void *x, t_symbol *s, ...) {
    void *a[8];
    va_list ap;
    va_start(ap, s);
    for (auto &v : a) v = va_arg(ap, void *);
    va_end(ap);
    return object_method_imp(x, s, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
}

t_max_err object_method_typed(void *x, t_symbol *s, long ac, t_atom *av, t_atom *rv) {
    if (!is_live(x) || !s) return MAX_ERR_INVALID_PTR;
    t_class *c = static_cast<t_object *>(x)->o_messlist;
    auto it = c->methods.find(s);
    if (it != c->methods.end() && it->second->kind == CallKind::gimmeback) {
        using F = t_max_err (*)(void *, t_symbol *, long, t_atom *, t_atom *);
        return reinterpret_cast<F>(it->second->fn)(x, s, ac, av, rv);
    }
    return deliver(static_cast<t_object *>(x), s, ac, av) ? MAX_ERR_NONE : MAX_ERR_GENERIC;
}

void *object_new_typed(t_symbol *name_space, t_symbol *classname, long ac, t_atom *av) {
    if (!classname) return nullptr;
    if (!name_space || name_space == syms().box)
        return maxhost::create(classname->s_name, ac, av, nullptr);
    t_class *c = class_lookup(name_space, classname);
    if (!c) {
        report_error(std::string(classname->s_name) + ": no such object");
        return nullptr;
    }
    if (!c->mnew) return nullptr;
    if (c->ntypes > 0 && c->types[0] == A_GIMME) {
        using F = void *(*)(t_symbol *, long, t_atom *);
        return reinterpret_cast<F>(c->mnew)(classname, ac, av);
    }
    return call_typed(c->mnew, nullptr, c->types, c->ntypes, ac, av);
}

t_max_err object_addattr_parse(t_object *x, C74_CONST char *attrname, t_symbol *type, long /*flags*/,
                               C74_CONST char *parsestr) {
    if (!is_live(x) || !attrname) return MAX_ERR_INVALID_PTR;
    set_meta(host_of(x, true)->meta, gensym(attrname), type, parsestr);
    return MAX_ERR_NONE;
}

}  // extern "C"
