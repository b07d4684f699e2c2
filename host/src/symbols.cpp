// Symbols: interned names. Each name maps to one record for the life of the process, so symbols
// compare by pointer from any thread.
#include "core_internal.h"

#include <cstring>
#include <shared_mutex>
#include <string_view>

namespace {

struct SymbolTable {
    std::shared_mutex lock;
    // Keys view the symbol's own copy of its name, which is never freed.
    std::unordered_map<std::string_view, t_symbol *> map;
};

SymbolTable &table() {
    static SymbolTable *t = new SymbolTable;  // never destroyed: symbols outlive static teardown
    return *t;
}

}  // namespace

extern "C" t_symbol *gensym(C74_CONST char *s) {
    if (!s) s = "";
    SymbolTable &t = table();
    std::string_view key(s);
    {
        std::shared_lock<std::shared_mutex> read(t.lock);
        auto it = t.map.find(key);
        if (it != t.map.end()) return it->second;
    }
    std::unique_lock<std::shared_mutex> write(t.lock);
    auto it = t.map.find(key);
    if (it != t.map.end()) return it->second;
    auto *sym = new t_symbol;
    sym->s_name = new char[key.size() + 1];
    std::memcpy(sym->s_name, s, key.size() + 1);
    sym->s_thing = nullptr;
    t.map.emplace(std::string_view(sym->s_name, key.size()), sym);
    return sym;
}

// No translations here: a label reads as written.
extern "C" t_symbol *gensym_tr(C74_CONST char *s) { return gensym(s); }

namespace maxhost_core {

const Syms &syms() {
    static const Syms s{gensym("bang"),  gensym("int"),     gensym("float"), gensym("list"),
                        gensym("anything"), gensym("assist"), gensym("box"), gensym("get"),
                        gensym("set"),   gensym("setmethod"), gensym("methods"), gensym(""),
                        gensym("nobox")};
    return s;
}

}  // namespace maxhost_core
