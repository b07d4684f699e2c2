// Shared helpers for the gasnet tests: an instance made through the host, direct access to its
// graph, and a check of the graph's invariants.
#pragma once

#include "gasnet.h"
#include "maxhost/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct Sent {
    int outlet;
    std::string selector;
    std::vector<long> args;
};

// One gasnet instance created from box text, with everything it sends recorded.
struct Gas {
    t_object *obj = nullptr;
    t_gasnet *x = nullptr;
    std::vector<Sent> sent;

    explicit Gas(const std::string &box = "gasnet") {
        static const bool path_set = (maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR), true);
        (void)path_set;
        std::string error;
        obj = maxhost::create_from_box(box, &error);
        x = reinterpret_cast<t_gasnet *>(obj);
        if (!obj) {
            ADD_FAILURE() << box << ": " << error;
            return;
        }
        maxhost::set_outlet_observer(obj, [this](t_object *, int outlet, t_symbol *s, long ac, const t_atom *av) {
            Sent m{outlet, s->s_name, {}};
            for (long i = 0; i < ac; i++) m.args.push_back((long)atom_getlong(av + i));
            sent.push_back(m);
        });
    }
    ~Gas() {
        if (!obj) return;
        maxhost::set_outlet_observer(obj, nullptr);
        object_free(obj);
    }
    void send(const std::string &text) { maxhost::send_text(obj, text); }
    std::vector<Sent> take() { return std::exchange(sent, {}); }
};

// Unit identifiers in the store's own order.
inline std::vector<long> store_order(t_gasnet *x) {
    std::vector<long> ids;
    hashtab_funall(x->units, (method)(void (*)(void))(+[](t_hashtab_entry *e, std::vector<long> *out) {
                       out->push_back((long)(t_ptr_int)e->key);
                   }),
                   &ids);
    return ids;
}

// Half-edges of one unit as (neighbour, age), in list order.
inline std::vector<std::pair<long, long>> edges_of(t_gasnet *x, long id) {
    std::vector<std::pair<long, long>> out;
    t_unit *u = graf_unit(x, id);
    if (!u || !u->edges) return out;
    for (long i = 0; i < (long)linklist_getsize(u->edges); i++) {
        auto *e = (t_edge *)linklist_getindex(u->edges, i);
        out.emplace_back(e->neighbour, e->age);
    }
    return out;
}

// Replaces the graph by units 1..n with these vectors (all of one length) and links (a, b, age).
inline void set_graph(t_gasnet *x, const std::vector<std::vector<double>> &vectors,
                      const std::vector<std::vector<long>> &links = {}) {
    graf_clear(x);
    for (size_t i = 0; i < vectors.size(); i++) {
        auto *u = (t_unit *)sysmem_newptrclear(sizeof(t_unit));
        u->vector = (double *)sysmem_newptrclear(GASNET_MAX_VECTOR * sizeof(double));
        std::copy(vectors[i].begin(), vectors[i].end(), u->vector);
        u->utility = 1.0;
        u->edges = linklist_new();
        linklist_flags(u->edges, OBJ_FLAG_MEMORY);
        hashtab_store(x->units, (t_symbol *)(t_ptr_int)(i + 1), (t_object *)u);
    }
    for (const auto &l : links) {
        graf_connecter(x, l[0], l[1]);
        graf_connecter(x, l[1], l[0]);
        for (long end : {l[0], l[1]}) {
            t_unit *u = graf_unit(x, end);
            ((t_edge *)linklist_getindex(u->edges, (long)linklist_getsize(u->edges) - 1))->age = l[2];
        }
    }
    x->unit_count = (long)vectors.size();
    x->next_id = (long)vectors.size() + 1;
    x->vector_size = vectors.empty() ? x->vector_size : (long)vectors[0].size();
}

// What must hold after any sequence of steps.
inline void expect_invariants(t_gasnet *x) {
    std::vector<long> ids = store_order(x);
    EXPECT_EQ((long)ids.size(), x->unit_count);
    EXPECT_EQ((long)hashtab_getsize(x->units), x->unit_count);
    EXPECT_GE(x->unit_count, 1);
    EXPECT_LE(x->unit_count, x->max_units);
    std::map<std::pair<long, long>, std::vector<long>> ages;  // (from, to) -> ages
    for (long id : ids) {
        EXPECT_LT(id, x->next_id);
        t_unit *u = graf_unit(x, id);
        for (long k = 0; k < x->vector_size; k++) {
            EXPECT_GE(u->vector[k], 0.0);
            EXPECT_LE(u->vector[k], (double)x->value_max);
        }
        for (auto [n, age] : edges_of(x, id)) {
            EXPECT_LE(age, x->mu);
            if (n == 0) continue;  // an insertion that made no unit leaves its parents these
            EXPECT_NE(graf_unit(x, n), nullptr) << "edge " << id << "-" << n << " to a removed unit";
            ages[{id, n}].push_back(age);
        }
    }
    for (auto &[ends, list] : ages) {
        auto back = ages[{ends.second, ends.first}];
        std::sort(list.begin(), list.end());
        std::sort(back.begin(), back.end());
        EXPECT_EQ(list, back) << "link " << ends.first << "-" << ends.second << " is not symmetric";
    }
}
