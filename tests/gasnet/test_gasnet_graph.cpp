// The graph operations on hand-made graphs.
#include "gasnet_test_util.h"

TEST(GasnetGraph, LearningStepAgesLinksOfTheWinner) {
    Gas g;
    // 1 wins, 2 comes second; the link 1-3 is at the age limit (5), 1-4 one below it.
    set_graph(g.x, {{0, 0}, {1, 1}, {100, 100}, {50, 50}}, {{1, 3, 5}, {1, 4, 4}});
    g.x->step_count = 1;  // no insertion
    g.send("learn 0 0");
    EXPECT_EQ(graf_unit(g.x, 3), nullptr);  // lost its last link, removed in the same step
    EXPECT_EQ(g.x->unit_count, 3);
    EXPECT_EQ(edges_of(g.x, 1), (Edges{{4, 5}, {2, 0}}));
    EXPECT_EQ(edges_of(g.x, 4), (Edges{{1, 5}}));
    EXPECT_EQ(edges_of(g.x, 2), (Edges{{1, 0}}));
    EXPECT_EQ(graf_unit(g.x, 1)->utility, 1.0 + 2.0);
    EXPECT_EQ(graf_unit(g.x, 4)->vector[0], 50 - 50 * 0.15);  // neighbours follow by epsilon2

    // The same winners again: their link is refreshed, not doubled, and 1-4 expires.
    ((t_edge *)linklist_getindex(graf_unit(g.x, 1)->edges, 1))->age = 3;
    ((t_edge *)linklist_getindex(graf_unit(g.x, 2)->edges, 0))->age = 3;
    g.x->step_count = 1;
    g.send("learn 0 0");
    EXPECT_EQ(edges_of(g.x, 1), (Edges{{2, 0}}));
    EXPECT_EQ(edges_of(g.x, 2), (Edges{{1, 0}}));
    expect_invariants(g.x);
}

TEST(GasnetGraph, InsertionAndDecay) {
    Gas g;
    set_graph(g.x, {{0, 10}, {4, 20}, {9, 9}}, {{1, 2, 0}, {2, 3, 1}});
    t_unit *q = graf_unit(g.x, 1), *f = graf_unit(g.x, 2);
    q->error = 4.0;
    f->error = 2.0;
    f->utility = 3.0;
    EXPECT_EQ(graf_reproduire(g.x, 1, 99), 0);  // a missing parent changes nothing
    EXPECT_EQ(q->error, 4.0);
    long r = graf_reproduire(g.x, 1, 2);
    t_unit *child = graf_unit(g.x, r);
    ASSERT_EQ(r, 4);
    EXPECT_EQ((Longs{g.x->unit_count, g.x->next_id}), (Longs{4, 5}));
    EXPECT_EQ((std::vector<double>{q->error, f->error, child->error, child->utility, child->vector[0], child->vector[1]}),
              (std::vector<double>{2, 1, 1.5, 2, 2, 15}));
    EXPECT_EQ(edges_of(g.x, r), (Edges{{1, 0}, {2, 0}}));
    child->error = 8.0;
    hashtab_funall(g.x->units, (method)(void (*)(void))oublier_hashfun, g.x);
    EXPECT_EQ((std::vector<double>{child->error, child->utility}), (std::vector<double>{6, 1.5}));
}

TEST(GasnetGraph, FullGraphReplacesItsLeastUsefulUnit) {
    Gas g("gasnet 3");
    set_graph(g.x, {{0, 0}, {10, 10}, {100, 100}}, {{1, 2, 0}, {2, 3, 0}});
    graf_unit(g.x, 1)->error = 50;
    graf_unit(g.x, 2)->error = 20;
    graf_unit(g.x, 3)->utility = 0;  // error / utility is infinite
    g.send("learn 0 0");  // 3 goes with its links, 4 comes between 1 and 2, which are unlinked
    EXPECT_EQ(graf_unit(g.x, 3), nullptr);
    EXPECT_EQ(g.x->unit_count, 3);
    EXPECT_EQ(edges_of(g.x, 4), (Edges{{1, 0}, {2, 0}}));
    EXPECT_EQ(edges_of(g.x, 1), (Edges{{4, 0}}));
    EXPECT_EQ(edges_of(g.x, 2), (Edges{{4, 0}}));
    expect_invariants(g.x);
}
