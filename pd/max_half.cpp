// The Max side of a Pd external: it registers the object's class with the project's runtime,
// makes instances from Pd's creation arguments, hands them Pd's messages and forwards what they
// send and post to the glue, all as neutral atoms.
#include "ext.h"
#include "ext_obex.h"
#include "maxhost/runtime.h"

#include "bridge.h"

#include <cmath>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

void pdb_set_pd_thread();  // scheduler_pd.cpp
void pdb_drain_clocks();

namespace {

std::thread::id g_pd_thread;
std::mutex g_lines_m;
std::vector<std::pair<int, std::string>> g_lines;  // posted off Pd's thread, printed on it
std::unordered_map<void *, std::string> g_folders;  // each object's patch folder (Pd's thread only)

// The Pd object whose message or task runs on Pd's thread, so that its errors name its box.
void *g_owner = nullptr;
std::unordered_map<void *, void *> g_owners;  // Max instance -> Pd object, on Pd's thread

struct OwnerScope {
    void *saved = g_owner;
    explicit OwnerScope(void *owner) { g_owner = owner; }
    ~OwnerScope() { g_owner = saved; }
    OwnerScope(const OwnerScope &) = delete;
    OwnerScope &operator=(const OwnerScope &) = delete;
};

// Pd has only floats: a whole number becomes an int, as the same text typed in Max would.
std::vector<t_atom> to_max(int argc, const pdb_atom *argv) {
    std::vector<t_atom> out(static_cast<size_t>(argc > 0 ? argc : 0));
    for (int i = 0; i < argc; ++i) {
        const pdb_atom &a = argv[i];
        if (a.type == 's')
            atom_setsym(&out[i], gensym(a.s));
        else if (a.f == std::floor(a.f) && std::fabs(a.f) < 9007199254740992.0)
            atom_setlong(&out[i], static_cast<t_atom_long>(a.f));
        else
            atom_setfloat(&out[i], a.f);
    }
    return out;
}

std::vector<pdb_atom> to_neutral(long argc, const t_atom *argv) {
    std::vector<pdb_atom> out(static_cast<size_t>(argc > 0 ? argc : 0));
    for (long i = 0; i < argc; ++i) {
        pdb_atom &n = out[i];
        n.type = 'f';
        n.f = 0;
        n.s = nullptr;
        switch (argv[i].a_type) {
            case A_LONG: n.f = static_cast<double>(argv[i].a_w.w_long); break;
            case A_FLOAT: n.f = argv[i].a_w.w_float; break;
            case A_SYM:
                n.type = 's';
                n.s = argv[i].a_w.w_sym ? argv[i].a_w.w_sym->s_name : "";
                break;
            default: break;
        }
    }
    return out;
}

void console(maxhost::ConsoleKind kind, const std::string &line) {
    int is_error = kind == maxhost::ConsoleKind::error ? 1 : 0;
    if (std::this_thread::get_id() == g_pd_thread) {
        pdg_post(g_owner, is_error, line.c_str());
        return;
    }
    {
        std::lock_guard<std::mutex> lk(g_lines_m);
        g_lines.emplace_back(is_error, line);
    }
    pdg_wake();
}

}  // namespace

// A clock or queue task of `max_object` runs as its Pd object's (scheduler_pd.cpp).
void pdb_run_as_owner(void *max_object, void (*run)(void *), void *arg) {
    auto it = g_owners.find(max_object);
    OwnerScope owner(it == g_owners.end() ? nullptr : it->second);
    run(arg);
}

extern "C" {

int pdb_setup(const char *class_name) {
    g_pd_thread = std::this_thread::get_id();
    pdb_set_pd_thread();
    maxhost::set_console_sink(console);
    maxhost::add_builtin(class_name, [] { ext_main(nullptr); });
    std::string error;
    if (!maxhost::find_class(class_name, &error)) {
        pdg_post(nullptr, 1, error.c_str());
        return 0;
    }
    return 1;
}

void *pdb_new(const char *class_name, void *owner, int argc, const pdb_atom *argv) {
    std::vector<t_atom> args = to_max(argc, argv);
    std::string error;
    t_object *x = maxhost::create(class_name, static_cast<long>(args.size()), args.data(), &error);
    if (!x) {
        if (!error.empty()) pdg_post(nullptr, 1, error.c_str());  // the box is not made: no owner
        return nullptr;
    }
    g_owners[x] = owner;
    maxhost::set_outlet_observer(x, [owner](t_object *, int index, t_symbol *sel, long ac, const t_atom *av) {
        std::vector<pdb_atom> atoms = to_neutral(ac, av);
        pdg_outlet(owner, index, sel->s_name, static_cast<int>(atoms.size()), atoms.data());
    });
    return x;
}

int pdb_outlet_count(void *max_object) { return maxhost::outlet_count(static_cast<t_object *>(max_object)); }

void pdb_send(void *max_object, const char *selector, int argc, const pdb_atom *argv) {
    std::vector<t_atom> args = to_max(argc, argv);
    t_symbol *sel = gensym(selector);
    if (sel == gensym("float") && args.size() == 1 && args[0].a_type == A_LONG) sel = gensym("int");
    auto it = g_owners.find(max_object);
    OwnerScope owner(it == g_owners.end() ? nullptr : it->second);
    auto folder = g_folders.find(max_object);
    maxhost::DefaultFolderScope scope(folder != g_folders.end() ? folder->second : maxhost::default_folder());
    maxhost::send(static_cast<t_object *>(max_object), sel, static_cast<long>(args.size()), args.data());
}

void pdb_set_folder(void *max_object, const char *folder) {
    if (max_object && folder) g_folders[max_object] = folder;
}

void pdb_free(void *max_object) {
    g_folders.erase(max_object);
    maxhost::destroy(static_cast<t_object *>(max_object));
    g_owners.erase(max_object);
}

void pdb_drain(void) {
    std::vector<std::pair<int, std::string>> lines;
    {
        std::lock_guard<std::mutex> lk(g_lines_m);
        lines.swap(g_lines);
    }
    for (const auto &l : lines) pdg_post(nullptr, l.first, l.second.c_str());
    pdb_drain_clocks();
}

}  // extern "C"
