// An instance made through the host from box text, with everything it sends on its outlets
// recorded as integers, for the object tests to compare.
#pragma once

#include "maxhost/runtime.h"

#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

struct Sent {
    int outlet;
    std::string selector;
    std::vector<long> args;
};

// Appends what the instance sends to `sent`, under `lock` when one is given (for an object that
// sends from another thread while the test reads `sent`).
inline t_object *create_recorded(const std::string &box, std::vector<Sent> &sent, std::mutex *lock = nullptr) {
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    t_object *obj = maxhost::create_from_box(box);
    if (!obj) throw std::runtime_error("cannot create " + box);
    maxhost::set_outlet_observer(obj, [&sent, lock](t_object *, int o, t_symbol *s, long ac, const t_atom *av) {
        std::unique_lock<std::mutex> held;
        if (lock) held = std::unique_lock<std::mutex>(*lock);
        sent.push_back({o, s->s_name, {}});
        for (long i = 0; i < ac; i++) sent.back().args.push_back((long)atom_getlong(av + i));
    });
    return obj;
}
