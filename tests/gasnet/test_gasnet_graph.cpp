// The graph operations on hand-made graphs: winner search, ageing, insertion, decay and removal.
#include "gasnet_test_util.h"

using Edges = std::vector<std::pair<long, long>>;

static void set_input(t_gasnet *x, std::vector<double> v) { std::copy(v.begin(), v.end(), x->input); }

TEST(GasnetGraph, WinnerSearchKeepsStoreOrderOnTies) {
    Gas g;
    set_graph(g.x, {{10, 0}, {0, 10}, {30, 30}});
    set_input(g.x, {0, 0});
    std::vector<long> order = store_order(g.x);
    hashtab_funall(g.x->units, (method)(void (*)(void))gagner_hashfun, g.x);
    long first_tied = order[0] == 3 ? order[1] : order[0];
    EXPECT_EQ(g.x->winner1, first_tied);
    EXPECT_EQ(g.x->winner2, 3 - first_tied);
    EXPECT_DOUBLE_EQ(g.x->dist1, 100.0);
    EXPECT_DOUBLE_EQ(g.x->dist2, 100.0);
}

TEST(GasnetGraph, StepAgesLinksOfTheWinnerAndRemovesIsolatedUnits) {
    Gas g;
    // 1 wins, 2 is second; the link 1-3 is at the age limit, 1-4 one below it.
    set_graph(g.x, {{0, 0}, {1, 1}, {100, 100}, {50, 50}}, {{1, 3, 5}, {1, 4, 4}});
    g.x->step_count = 1;  // not an insertion step
    g.send("learn 0 0");
    EXPECT_EQ(g.x->unit_count, 3);
    EXPECT_EQ(graf_unit(g.x, 3), nullptr);
    EXPECT_EQ(edges_of(g.x, 1), (Edges{{4, 5}, {2, 0}}));
    EXPECT_EQ(edges_of(g.x, 4), (Edges{{1, 5}}));
    EXPECT_EQ(edges_of(g.x, 2), (Edges{{1, 0}}));
    EXPECT_DOUBLE_EQ(graf_unit(g.x, 1)->error, 0.0);
    EXPECT_DOUBLE_EQ(graf_unit(g.x, 1)->utility, 1.0 + 2.0);
    EXPECT_DOUBLE_EQ(graf_unit(g.x, 4)->vector[0], 50 - 50 * 0.15);  // neighbours move by epsilon2

    // The same winners again: the link is refreshed, not doubled; 1-4 now goes.
    ((t_edge *)linklist_getindex(graf_unit(g.x, 1)->edges, 1))->age = 3;
    ((t_edge *)linklist_getindex(graf_unit(g.x, 2)->edges, 0))->age = 3;
    g.x->step_count = 1;
    g.send("learn 0 0");
    EXPECT_EQ(edges_of(g.x, 1), (Edges{{2, 0}}));
    EXPECT_EQ(edges_of(g.x, 2), (Edges{{1, 0}}));
    EXPECT_EQ(g.x->unit_count, 2);
    expect_invariants(g.x);
}

TEST(GasnetGraph, InsertionDecayAndRemoval) {
    Gas g;
    set_graph(g.x, {{0, 10}, {4, 20}, {9, 9}}, {{1, 2, 0}, {2, 3, 1}});
    t_unit *q = graf_unit(g.x, 1), *f = graf_unit(g.x, 2);
    q->error = 4.0;
    f->error = 2.0;
    f->utility = 3.0;
    EXPECT_EQ(graf_reproduire(g.x, 1, 99), 0);  // a missing parent: nothing changes
    EXPECT_DOUBLE_EQ(q->error, 4.0);
    long r = graf_reproduire(g.x, 1, 2);
    ASSERT_EQ(r, 4);
    EXPECT_EQ(g.x->unit_count, 4);
    EXPECT_EQ(g.x->next_id, 5);
    EXPECT_DOUBLE_EQ(q->error, 2.0);
    EXPECT_DOUBLE_EQ(f->error, 1.0);
    t_unit *child = graf_unit(g.x, r);
    EXPECT_DOUBLE_EQ(child->error, 1.5);
    EXPECT_DOUBLE_EQ(child->utility, 2.0);
    EXPECT_EQ(std::vector<double>(child->vector, child->vector + 2), (std::vector<double>{2, 15}));
    EXPECT_EQ(edges_of(g.x, r), (Edges{{1, 0}, {2, 0}}));
    graf_connecter(g.x, 1, r);
    graf_connecter(g.x, 2, r);

    g.x->worst = 1;
    g.x->worst_neighbour = 2;
    graf_deconnecter(g.x);
    EXPECT_EQ(edges_of(g.x, 1), (Edges{{4, 0}}));
    EXPECT_EQ(edges_of(g.x, 2), (Edges{{3, 1}, {4, 0}}));

    child->error = 8.0;
    g.x->beta = 0.25;
    hashtab_funall(g.x->units, (method)(void (*)(void))oublier_hashfun, g.x);
    EXPECT_DOUBLE_EQ(child->error, 6.0);
    EXPECT_DOUBLE_EQ(child->utility, 1.5);

    // Removing a unit takes every half-edge that names it.
    g.x->least_useful = 2;
    graf_tuer(g.x);
    EXPECT_EQ(graf_unit(g.x, 2), nullptr);
    EXPECT_EQ(g.x->unit_count, 3);
    EXPECT_EQ(edges_of(g.x, 3), Edges{});
    EXPECT_EQ(edges_of(g.x, 4), (Edges{{1, 0}}));
}

TEST(GasnetGraph, ReadOutAndCaptureFollowStoreOrder) {
    Gas g;
    set_graph(g.x, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
    graf_capturer(g.x);
    for (long p = 0; p < 5; p++) {
        graf_lire(g.x, p);
        EXPECT_EQ(atom_getlong(g.x->out_atoms + 1), (t_atom_long)g.x->dump_buffer[p * 2 + 1]);
    }
}

TEST(GasnetGraph, FullGraphReplacesItsLeastUsefulUnit) {
    Gas g("gasnet 3");
    // 3 is useless (utility 0) and the graph is full: it gives way to a unit between 1 and 2.
    set_graph(g.x, {{0, 0}, {10, 10}, {100, 100}}, {{1, 2, 0}, {2, 3, 0}});
    graf_unit(g.x, 1)->error = 50;
    graf_unit(g.x, 2)->error = 20;
    graf_unit(g.x, 3)->utility = 0;
    g.send("learn 0 0");
    EXPECT_EQ(graf_unit(g.x, 3), nullptr);
    EXPECT_EQ(g.x->unit_count, 3);
    ASSERT_NE(graf_unit(g.x, 4), nullptr);
    EXPECT_EQ(edges_of(g.x, 4), (Edges{{1, 0}, {2, 0}}));
    expect_invariants(g.x);
}
