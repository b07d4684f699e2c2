// Dictionaries: entries in the order their keys were first added, each a single atom, an atom
// array or a sub-dictionary. The dictionary owns its atom arrays and sub-dictionaries, and the
// objects nested in their atoms.
#include "dictionary_internal.h"

#include "svc_internal.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

enum class Kind { atom, array, dictionary };

struct Entry {
    t_symbol *key;
    Kind kind;
    bool is_string;  // an atom entry added with appendstring (or read from a JSON string)
    t_atom atom;     // Kind::atom
    t_object *obj;   // Kind::array (a t_atomarray) or Kind::dictionary
    bool owns_nested;  // an array whose A_OBJ atoms the reader made (freed with it)
};

struct Entries {
    std::vector<Entry> list;
    std::unordered_map<const t_symbol *, size_t> index;
};

}  // namespace

struct _dictionary {
    t_object ob;
    Entries *entries;
};

namespace {

t_symbol *sym_atomarray() {
    static t_symbol *s = gensym("atomarray");
    return s;
}

// Frees the objects an atom array holds (nested arrays and dictionaries), then the array.
void free_array(t_object *arr) {
    long ac = 0;
    t_atom *av = nullptr;
    atomarray_getatoms(reinterpret_cast<t_atomarray *>(arr), &ac, &av);
    for (long i = 0; i < ac; ++i)
        if (av[i].a_type == A_OBJ && av[i].a_w.w_obj) maxhost_dict::free_owned(av[i].a_w.w_obj);
    object_free(arr);
}

void release_entry(Entry &e) {
    if (e.kind == Kind::array && e.obj) {
        if (e.owns_nested)
            free_array(e.obj);
        else
            object_free(e.obj);
    }
    if (e.kind == Kind::dictionary && e.obj) object_free(e.obj);
    e.obj = nullptr;
}

void dictionary_release(t_dictionary *d) {
    if (!d->entries) return;
    for (Entry &e : d->entries->list) release_entry(e);
    delete d->entries;
    d->entries = nullptr;
}

t_class *dictionary_class() {
    static t_class *c = maxhost_svc::make_internal_class(
        "dictionary", maxhost_svc::as_method(dictionary_release), sizeof(t_dictionary));
    return c;
}

const Entry *find(const t_dictionary *d, const t_symbol *key) {
    if (!d || !d->entries || !key) return nullptr;
    auto it = d->entries->index.find(key);
    return it == d->entries->index.end() ? nullptr : &d->entries->list[it->second];
}

// Stores an entry under its key, replacing (and releasing) what was there.
t_max_err store(t_dictionary *d, Entry e) {
    if (!d || !d->entries || !e.key) {
        release_entry(e);
        return MAX_ERR_INVALID_PTR;
    }
    Entries &es = *d->entries;
    auto it = es.index.find(e.key);
    if (it != es.index.end()) {
        release_entry(es.list[it->second]);
        es.list[it->second] = e;
    } else {
        es.index.emplace(e.key, es.list.size());
        es.list.push_back(e);
    }
    return MAX_ERR_NONE;
}

// Arrays of integers within 32 bits are kept as such (a quarter of their atoms' size: a model
// being written holds arrays of hundreds of thousands of them).
bool all_integers(long argc, const t_atom *argv) {
    for (long i = 0; i < argc; ++i)
        if (argv[i].a_type != A_LONG || argv[i].a_w.w_long < INT32_MIN || argv[i].a_w.w_long > INT32_MAX) return false;
    return argc > 0;
}

std::vector<std::int32_t> integers_of(long argc, const t_atom *argv) {
    std::vector<std::int32_t> v(static_cast<size_t>(argc));
    for (long i = 0; i < argc; ++i) v[static_cast<size_t>(i)] = static_cast<std::int32_t>(argv[i].a_w.w_long);
    return v;
}

Entry atom_entry(t_symbol *key, const t_atom &a, bool is_string = false) {
    Entry e{key, Kind::atom, is_string, a, nullptr, false};
    return e;
}

}  // namespace

namespace maxhost_dict {

bool is_dictionary(const t_object *x) { return x && x->o_messlist == dictionary_class(); }
bool is_atomarray(const t_object *x) { return x && object_classname(const_cast<t_object *>(x)) == sym_atomarray(); }

void free_owned(t_object *x) {
    if (is_atomarray(x))
        free_array(x);
    else
        object_free(x);
}

void for_each(const t_dictionary *d, const std::function<void(const EntryView &)> &fn) {
    if (!d || !d->entries) return;
    for (const Entry &e : d->entries->list) {
        EntryView v;
        v.key = e.key;
        if (e.kind == Kind::atom)
            v.single = &e.atom;
        else if (e.kind == Kind::array)
            v.array = reinterpret_cast<t_atomarray *>(e.obj);
        else
            v.dictionary = reinterpret_cast<const t_dictionary *>(e.obj);
        fn(v);
    }
}

t_max_err append_owned_array(t_dictionary *d, t_symbol *key, t_object *arr) {
    Entry e{key, Kind::array, false, {}, arr, true};
    return store(d, e);
}

t_max_err append_string_symbol(t_dictionary *d, t_symbol *key, t_symbol *value) {
    t_atom a;
    atom_setsym(&a, value);
    return store(d, atom_entry(key, a, true));
}

}  // namespace maxhost_dict

extern "C" {

t_dictionary *dictionary_new(void) {
    auto *d = static_cast<t_dictionary *>(object_alloc(dictionary_class()));
    if (d) d->entries = new Entries;
    return d;
}

t_max_err dictionary_appendlong(t_dictionary *d, t_symbol *key, t_atom_long value) {
    t_atom a;
    atom_setlong(&a, value);
    return store(d, atom_entry(key, a));
}

t_max_err dictionary_appendfloat(t_dictionary *d, t_symbol *key, double value) {
    t_atom a;
    atom_setfloat(&a, value);
    return store(d, atom_entry(key, a));
}

t_max_err dictionary_appendsym(t_dictionary *d, t_symbol *key, t_symbol *value) {
    t_atom a;
    atom_setsym(&a, value ? value : gensym(""));
    return store(d, atom_entry(key, a));
}

t_max_err dictionary_appendatom(t_dictionary *d, t_symbol *key, t_atom *value) {
    if (!value) return MAX_ERR_INVALID_PTR;
    return store(d, atom_entry(key, *value));
}

t_max_err dictionary_appendstring(t_dictionary *d, t_symbol *key, const char *value) {
    return maxhost_dict::append_string_symbol(d, key, gensym(value ? value : ""));
}

t_max_err dictionary_appendatoms(t_dictionary *d, t_symbol *key, long argc, t_atom *argv) {
    if (argc < 0 || (argc > 0 && !argv)) return MAX_ERR_INVALID_PTR;
    t_atomarray *arr = nullptr;
    try {
        arr = all_integers(argc, argv) ? maxhost_svc::atomarray_adopt_integers(integers_of(argc, argv))
                                       : atomarray_new(argc, argv);
    } catch (const std::bad_alloc &) {
        arr = nullptr;
    }
    if (!arr) return MAX_ERR_OUT_OF_MEM;
    Entry e{key, Kind::array, false, {}, reinterpret_cast<t_object *>(arr), false};
    return store(d, e);
}

t_max_err dictionary_appendatomarray(t_dictionary *d, t_symbol *key, t_object *value) {
    if (!maxhost_dict::is_atomarray(value)) return MAX_ERR_INVALID_PTR;
    Entry e{key, Kind::array, false, {}, value, false};
    return store(d, e);
}

t_max_err dictionary_appenddictionary(t_dictionary *d, t_symbol *key, t_object *value) {
    if (!maxhost_dict::is_dictionary(value) || value == reinterpret_cast<t_object *>(d)) return MAX_ERR_INVALID_PTR;
    Entry e{key, Kind::dictionary, false, {}, value, false};
    return store(d, e);
}

t_max_err dictionary_getatom(C74_CONST t_dictionary *d, t_symbol *key, t_atom *value) {
    const Entry *e = find(d, key);
    if (!value) return MAX_ERR_INVALID_PTR;
    if (!e || e->kind != Kind::atom) return MAX_ERR_GENERIC;
    *value = e->atom;
    return MAX_ERR_NONE;
}

t_max_err dictionary_getlong(C74_CONST t_dictionary *d, t_symbol *key, t_atom_long *value) {
    t_atom a;
    if (!value) return MAX_ERR_INVALID_PTR;
    if (dictionary_getatom(d, key, &a) || (a.a_type != A_LONG && a.a_type != A_FLOAT)) return MAX_ERR_GENERIC;
    *value = atom_getlong(&a);
    return MAX_ERR_NONE;
}

t_max_err dictionary_getfloat(C74_CONST t_dictionary *d, t_symbol *key, double *value) {
    t_atom a;
    if (!value) return MAX_ERR_INVALID_PTR;
    if (dictionary_getatom(d, key, &a) || (a.a_type != A_LONG && a.a_type != A_FLOAT)) return MAX_ERR_GENERIC;
    *value = atom_getfloat(&a);
    return MAX_ERR_NONE;
}

t_max_err dictionary_getsym(C74_CONST t_dictionary *d, t_symbol *key, t_symbol **value) {
    t_atom a;
    if (!value) return MAX_ERR_INVALID_PTR;
    if (dictionary_getatom(d, key, &a) || a.a_type != A_SYM) return MAX_ERR_GENERIC;
    *value = a.a_w.w_sym;
    return MAX_ERR_NONE;
}

t_max_err dictionary_getstring(C74_CONST t_dictionary *d, t_symbol *key, const char **value) {
    t_symbol *s = nullptr;
    if (!value) return MAX_ERR_INVALID_PTR;
    if (dictionary_getsym(d, key, &s)) return MAX_ERR_GENERIC;
    *value = s->s_name;
    return MAX_ERR_NONE;
}

t_max_err dictionary_getatoms(C74_CONST t_dictionary *d, t_symbol *key, long *argc, t_atom **argv) {
    if (!argc || !argv) return MAX_ERR_INVALID_PTR;
    *argc = 0;
    *argv = nullptr;
    const Entry *e = find(d, key);
    if (!e || e->kind == Kind::dictionary) return MAX_ERR_GENERIC;
    if (e->kind == Kind::atom) {
        *argc = 1;
        *argv = const_cast<t_atom *>(&e->atom);
        return MAX_ERR_NONE;
    }
    return atomarray_getatoms(reinterpret_cast<t_atomarray *>(e->obj), argc, argv);
}

t_max_err dictionary_copyatoms(C74_CONST t_dictionary *d, t_symbol *key, long *argc, t_atom **argv) {
    long ac = 0;
    t_atom *av = nullptr;
    if (!argc || !argv) return MAX_ERR_INVALID_PTR;
    *argc = 0;
    *argv = nullptr;
    if (t_max_err err = dictionary_getatoms(d, key, &ac, &av)) return err;
    if (ac == 0) return MAX_ERR_NONE;
    auto *copy = reinterpret_cast<t_atom *>(sysmem_newptr(static_cast<long>(ac * sizeof(t_atom))));
    if (!copy) return MAX_ERR_OUT_OF_MEM;
    std::memcpy(copy, av, static_cast<size_t>(ac) * sizeof(t_atom));
    *argc = ac;
    *argv = copy;
    return MAX_ERR_NONE;
}

t_max_err dictionary_getatomarray(C74_CONST t_dictionary *d, t_symbol *key, t_object **value) {
    const Entry *e = find(d, key);
    if (!value) return MAX_ERR_INVALID_PTR;
    if (!e || e->kind != Kind::array) return MAX_ERR_GENERIC;
    *value = e->obj;
    return MAX_ERR_NONE;
}

t_max_err dictionary_getdictionary(C74_CONST t_dictionary *d, t_symbol *key, t_object **value) {
    const Entry *e = find(d, key);
    if (!value) return MAX_ERR_INVALID_PTR;
    if (!e || e->kind != Kind::dictionary) return MAX_ERR_GENERIC;
    *value = e->obj;
    return MAX_ERR_NONE;
}

long dictionary_entryisstring(C74_CONST t_dictionary *d, t_symbol *key) {
    const Entry *e = find(d, key);
    return e && e->kind == Kind::atom && e->is_string ? 1 : 0;
}

long dictionary_entryisatomarray(C74_CONST t_dictionary *d, t_symbol *key) {
    const Entry *e = find(d, key);
    return e && e->kind == Kind::array ? 1 : 0;
}

long dictionary_entryisdictionary(C74_CONST t_dictionary *d, t_symbol *key) {
    const Entry *e = find(d, key);
    return e && e->kind == Kind::dictionary ? 1 : 0;
}

long dictionary_hasentry(C74_CONST t_dictionary *d, t_symbol *key) { return find(d, key) ? 1 : 0; }

t_atom_long dictionary_getentrycount(C74_CONST t_dictionary *d) {
    return d && d->entries ? static_cast<t_atom_long>(d->entries->list.size()) : 0;
}

t_max_err dictionary_getkeys(C74_CONST t_dictionary *d, long *numkeys, t_symbol ***keys) {
    if (!d || !d->entries || !numkeys || !keys) return MAX_ERR_INVALID_PTR;
    const std::vector<Entry> &list = d->entries->list;
    *numkeys = static_cast<long>(list.size());
    *keys = nullptr;
    if (list.empty()) return MAX_ERR_NONE;
    auto *out = reinterpret_cast<t_symbol **>(sysmem_newptr(static_cast<long>(list.size() * sizeof(t_symbol *))));
    if (!out) return MAX_ERR_OUT_OF_MEM;
    for (size_t i = 0; i < list.size(); ++i) out[i] = list[i].key;
    *keys = out;
    return MAX_ERR_NONE;
}

void dictionary_freekeys(t_dictionary *, long, t_symbol **keys) {
    if (keys) sysmem_freeptr(keys);
}

t_max_err dictionary_deleteentry(t_dictionary *d, t_symbol *key) {
    if (!d || !d->entries) return MAX_ERR_INVALID_PTR;
    Entries &es = *d->entries;
    auto it = es.index.find(key);
    if (it == es.index.end()) return MAX_ERR_GENERIC;
    size_t at = it->second;
    release_entry(es.list[at]);
    es.list.erase(es.list.begin() + static_cast<std::ptrdiff_t>(at));
    es.index.erase(it);
    for (auto &kv : es.index)
        if (kv.second > at) --kv.second;
    return MAX_ERR_NONE;
}

t_max_err dictionary_clear(t_dictionary *d) {
    if (!d || !d->entries) return MAX_ERR_INVALID_PTR;
    for (Entry &e : d->entries->list) release_entry(e);
    d->entries->list.clear();
    d->entries->index.clear();
    return MAX_ERR_NONE;
}

}  // extern "C"
