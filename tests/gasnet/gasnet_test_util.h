// Helpers for the gasnet tests: an instance made through the host, direct access to its graph, and
// the graph's invariants.
#pragma once

#include "gasnet.h"
#include "maxhost/runtime.h"
#include "recorded_outlets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

using Edges = std::vector<std::pair<long, long>>;  // (neighbour, age)
using Longs = std::vector<long>;

// One instance from box text; everything it sends is recorded in `sent`.
struct Gas {
    t_object *obj;
    t_gasnet *x;
    std::vector<Sent> sent;
    explicit Gas(const std::string &box = "gasnet") {
        obj = create_recorded(box, sent);
        x = reinterpret_cast<t_gasnet *>(obj);
    }
    ~Gas() { object_free(obj); }
    void send(const std::string &text) { maxhost::send_text(obj, text); }
    std::vector<Sent> take() { return std::exchange(sent, {}); }
};

inline Longs store_order(t_gasnet *x) {
    Longs ids;
    auto visit = +[](t_hashtab_entry *e, Longs *out) { out->push_back((long)(t_ptr_int)e->key); };
    hashtab_funall(x->units, (method)(void (*)(void))visit, &ids);
    return ids;
}

inline Edges edges_of(t_gasnet *x, long id) {
    Edges out;
    t_unit *u = graf_unit(x, id);
    for (long i = 0; u && i < (long)linklist_getsize(u->edges); i++) {
        auto *e = (t_edge *)linklist_getindex(u->edges, i);
        out.emplace_back(e->neighbour, e->age);
    }
    return out;
}

// Replaces the graph by units 1..n with these vectors and links {a, b, age}.
inline void set_graph(t_gasnet *x, const std::vector<std::vector<double>> &vectors,
                      const std::vector<Longs> &links = {}) {
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
    for (const Longs &l : links) {
        for (int end = 0; end < 2; end++) {
            graf_connecter(x, l[end], l[1 - end]);
            t_linklist *edges = graf_unit(x, l[end])->edges;
            ((t_edge *)linklist_getindex(edges, (long)linklist_getsize(edges) - 1))->age = l[2];
        }
    }
    x->unit_count = (long)vectors.size();
    x->next_id = x->unit_count + 1;
    x->vector_size = (long)vectors[0].size();
}

// Counts agree with the store, components stay in range, and every link is two half-edges of equal
// age between units that exist (edges naming 0 are left by an insertion that made no unit).
inline void expect_invariants(t_gasnet *x) {
    Longs ids = store_order(x);
    EXPECT_EQ((long)ids.size(), x->unit_count);
    EXPECT_TRUE(x->unit_count >= 1 && x->unit_count <= x->max_units) << x->unit_count;
    std::map<std::pair<long, long>, Longs> ages;
    for (long id : ids) {
        EXPECT_LT(id, x->next_id);
        const double *v = graf_unit(x, id)->vector;
        for (long k = 0; k < x->vector_size; k++) EXPECT_TRUE(v[k] >= 0 && v[k] <= (double)x->value_max) << v[k];
        for (auto [n, age] : edges_of(x, id)) {
            EXPECT_LE(age, x->mu);
            if (n == 0) continue;
            EXPECT_NE(graf_unit(x, n), nullptr) << "edge " << id << "-" << n << " to a removed unit";
            ages[{id, n}].push_back(age);
        }
    }
    for (auto &[ends, list] : ages) {
        Longs back = ages[{ends.second, ends.first}];
        std::sort(list.begin(), list.end());
        std::sort(back.begin(), back.end());
        EXPECT_EQ(list, back) << "link " << ends.first << "-" << ends.second;
    }
}
