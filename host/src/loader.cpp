// Loading externals by class name from the search path, and making instances from box text.
#include "core_internal.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#if !defined(__APPLE__)
#include <link.h>
#endif
#endif
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <map>

using namespace maxhost_core;

namespace {

#if defined(_WIN32)
constexpr const char *kModuleSuffix = ".mxe64";
constexpr char kPathSeparator = ';';  // drive letters hold colons
#elif defined(__APPLE__)
constexpr const char *kModuleSuffix = ".dylib";
#else
constexpr const char *kModuleSuffix = ".so";
#endif

struct Builtin {
    void (*setup)();
    bool done;
};

struct Loader {
    std::recursive_mutex lock;  // an entry that itself looks up classes must not deadlock
    std::vector<std::string> dirs;
    std::map<std::string, void *> modules;  // by file path; opened once, never closed
    std::map<std::string, Builtin> builtins;
};

Loader &loader() {
    static Loader *l = new Loader;  // modules stay loaded for the life of the process
    return *l;
}

std::vector<std::string> env_dirs() {
    std::vector<std::string> out;
    const char *env = std::getenv("MAXHOST_PATH");
    if (!env) return out;
    std::string s(env);
    size_t start = 0;
    while (start <= s.size()) {
#if defined(_WIN32)
        size_t end = s.find(kPathSeparator, start);
#else
        size_t end = s.find(':', start);
#endif
        if (end == std::string::npos) end = s.size();
        if (end > start) out.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool is_file(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

#if defined(_WIN32)
// A DLL's exports are its own: GetProcAddress does not search its dependencies.
void *own_symbol(void *handle, const char *name) {
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void *open_module(const std::string &path, std::string *why) {
    HMODULE h = LoadLibraryA(path.c_str());
    if (!h) *why = "error " + std::to_string(GetLastError());
    return h;
}
#else
#if defined(__APPLE__)
// With RTLD_FIRST, dlsym on the handle searches the module alone, not what it links.
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL | RTLD_FIRST;
#else
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL;
#endif

void *open_module(const std::string &path, std::string *why) {
    void *handle = dlopen(path.c_str(), kOpenFlags);
    if (!handle) {
        const char *e = dlerror();
        *why = e ? e : "unknown error";
    }
    return handle;
}

// A symbol defined by this very module, not one it merely reaches through its dependencies.
#if defined(__APPLE__)
void *own_symbol(void *handle, const char *name) { return dlsym(handle, name); }
#else
void *own_symbol(void *handle, const char *name) {
    void *sym = dlsym(handle, name);
    if (!sym) return nullptr;
    struct link_map *lm = nullptr;
    Dl_info info;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &lm) != 0 || !lm || !dladdr(sym, &info) || !info.dli_fname) return sym;
    return std::strcmp(info.dli_fname, lm->l_name) == 0 ? sym : nullptr;
}
#endif
#endif

void fail(std::string *error, const std::string &text) {
    if (error)
        *error = text;
    else
        report_error(text);
}

bool valid_class_name(const std::string &name) {
    return !name.empty() && name.find_first_of("/\\") == std::string::npos && name != "." && name != "..";
}

t_object *construct(t_class *c, long argc, t_atom *argv) {
    if (!c->mnew) return nullptr;
    if (c->ntypes > 0 && c->types[0] == A_GIMME) {
        using F = void *(*)(t_symbol *, long, t_atom *);
        return static_cast<t_object *>(reinterpret_cast<F>(c->mnew)(c->name, argc, argv));
    }
    return static_cast<t_object *>(call_typed(c->mnew, nullptr, c->types, c->ntypes, argc, argv));
}

}  // namespace

namespace maxhost {

void set_search_path(const std::vector<std::string> &dirs) {
    Loader &l = loader();
    std::lock_guard<std::recursive_mutex> guard(l.lock);
    l.dirs = dirs;
}

void add_search_path(const std::string &dir) {
    Loader &l = loader();
    std::lock_guard<std::recursive_mutex> guard(l.lock);
    l.dirs.push_back(dir);
}

std::vector<std::string> search_path() {
    Loader &l = loader();
    std::lock_guard<std::recursive_mutex> guard(l.lock);
    return l.dirs;
}

void add_builtin(const std::string &name, void (*setup)()) {
    if (!setup) return;
    Loader &l = loader();
    std::lock_guard<std::recursive_mutex> guard(l.lock);
    l.builtins.emplace(name, Builtin{setup, false});
}

t_class *find_class(const std::string &name, std::string *error) {
    if (!valid_class_name(name)) {
        fail(error, "\"" + name + "\" is not a class name");
        return nullptr;
    }
    t_symbol *sym = gensym(name.c_str());
    if (t_class *c = class_lookup(syms().box, sym)) return c;

    Loader &l = loader();
    std::lock_guard<std::recursive_mutex> guard(l.lock);
    if (t_class *c = class_lookup(syms().box, sym)) return c;  // loaded by another thread meanwhile

    auto b = l.builtins.find(name);
    if (b != l.builtins.end()) {
        if (!b->second.done) {
            b->second.done = true;
            b->second.setup();
        }
        if (t_class *c = class_lookup(syms().box, sym)) return c;
        fail(error, name + ": the built-in class did not register itself");
        return nullptr;
    }

    std::vector<std::string> dirs = l.dirs;
    for (const std::string &d : env_dirs()) dirs.push_back(d);
    for (const std::string &dir : dirs) {
        std::string path = (dir.empty() ? std::string(".") : dir) + "/" + name + kModuleSuffix;
        if (!is_file(path)) continue;
        if (l.modules.count(path) == 0) {
            std::string why;
            void *handle = open_module(path, &why);
            if (!handle) {
                fail(error, name + ": cannot load " + path + ": " + why);
                return nullptr;
            }
            l.modules[path] = handle;
            // Current hosts call ext_main(NULL); older externals only have main().
            if (void *entry = own_symbol(handle, "ext_main"))
                reinterpret_cast<void (*)(void *)>(entry)(nullptr);
            else if (void *entry2 = own_symbol(handle, "main"))
                reinterpret_cast<int (*)()>(entry2)();
            else {
                fail(error, name + ": " + path + " exports neither ext_main nor main");
                return nullptr;
            }
        }
        if (t_class *c = class_lookup(syms().box, sym)) return c;
        fail(error, name + ": " + path + " does not register a class named \"" + name + "\"");
        return nullptr;
    }
    fail(error, name + ": no such object");
    return nullptr;
}

t_object *create(const std::string &class_name, long argc, t_atom *argv, std::string *error) {
    t_class *c = find_class(class_name, error);
    if (!c) return nullptr;
    t_object *x = construct(c, argc < 0 ? 0 : argc, argv);
    if (!x) {
        fail(error, class_name + ": could not create an instance");
        return nullptr;
    }
    return x;
}

t_object *create_from_box(const std::string &box_text, std::string *error) {
    std::vector<t_atom> atoms = parse_atoms(box_text);
    if (atoms.empty()) {
        fail(error, "empty object box");
        return nullptr;
    }
    if (atoms[0].a_type != A_SYM) {
        fail(error, "\"" + atom_to_text(atoms[0]) + "\": an object box starts with a class name");
        return nullptr;
    }
    return create(atoms[0].a_w.w_sym->s_name, static_cast<long>(atoms.size() - 1), atoms.data() + 1, error);
}

void destroy(t_object *x) {
    if (x) object_free(x);
}

}  // namespace maxhost
