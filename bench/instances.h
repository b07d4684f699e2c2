// Instances and input lists for benchmarks: an instance made from a box as a patch would make it,
// and pools of random integer lists drawn from a seeded generator, so that runs compare.
#pragma once

#include "ext.h"
#include "maxhost/runtime.h"

#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace maxlearn_bench {

using Lists = std::vector<std::vector<t_atom>>;

// `count` lists of `length` integers in [lowest, lowest + range).
inline Lists random_lists(size_t count, size_t length, unsigned seed, long lowest, unsigned long range)
{
    std::mt19937 rng(seed);
    Lists lists(count, std::vector<t_atom>(length));
    for (auto &l : lists)
        for (t_atom &a : l) atom_setlong(&a, (t_atom_long)lowest + (t_atom_long)(rng() % range));
    return lists;
}

// The object `box` makes, found among the built externals; throws when there is none.
inline t_object *create(const std::string &box)
{
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    t_object *x = maxhost::create_from_box(box);
    if (!x) throw std::runtime_error("cannot create " + box);
    return x;
}

// The same as its own record type, with the C library's generator seeded after creation.
template <typename T>
T *create_seeded(const std::string &box)
{
    T *x = reinterpret_cast<T *>(create(box));
    srand(1);
    return x;
}

}  // namespace maxlearn_bench
