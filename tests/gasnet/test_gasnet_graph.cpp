// The graph operations on hand-made graphs.
#include "gasnet_test_util.h"

TEST(GasnetGraph, LearningStepAgesLinksOfTheWinner) {
    Gas g;
    // 1 wins at squared distance 1, 2 comes second at 5; the link 1-3 is at the age limit (5), 1-4
    // one below it.
    set_graph(g.x, {{0, 0}, {2, 2}, {100, 100}, {50, 50}}, {{1, 3, 5}, {1, 4, 4}});
    g.x->step_count = 1;  // no insertion
    g.send("learn 0 1");
    EXPECT_EQ(graf_unit(g.x, 3), nullptr);  // lost its last link, removed in the same step
    EXPECT_EQ(g.x->unit_count, 3);
    EXPECT_EQ(edges_of(g.x, 1), (Edges{{4, 5}, {2, 0}}));
    EXPECT_EQ(edges_of(g.x, 4), (Edges{{1, 5}}));
    EXPECT_EQ(edges_of(g.x, 2), (Edges{{1, 0}}));
    // The winner's error grows by its distance, its utility by its margin over the second.
    EXPECT_EQ((std::vector<double>{graf_unit(g.x, 1)->error, graf_unit(g.x, 1)->utility}), (std::vector<double>{1, 1 + 5 - 1}));
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

TEST(GasnetGraph, WinnersRankByDistanceAndTiesByStoreOrder) {
    // Vectors in store order, input (0, 0); the ranks (in store order) of the nearest and second.
    const struct { std::vector<std::vector<double>> at; size_t w1, w2; } cases[] = {
        {{{10, 0}, {0, 10}, {6, 8}}, 0, 1},  // all at 100: the first visited keeps each rank
        {{{10, 0}, {0, 6}}, 1, 0},           // a nearer second unit takes over the first rank
        {{{0, 6}, {20, 20}, {10, 0}}, 0, 2},
        {{{10, 0}, {20, 20}, {0, 6}}, 2, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        Gas g;
        set_graph(g.x, std::vector<std::vector<double>>(c.at.size(), {0, 0}));
        Longs order = store_order(g.x);
        for (size_t i = 0; i < order.size(); i++) std::copy(c.at[i].begin(), c.at[i].end(), graf_unit(g.x, order[i])->vector);
        g.x->step_count = 1;
        g.send("learn 0 0");
        long w1 = order[c.w1], w2 = order[c.w2];
        EXPECT_EQ(edges_of(g.x, w1), (Edges{{w2, 0}}));  // the winners are linked, the rest die isolated
        EXPECT_EQ(g.x->unit_count, 2);
        const double *v1 = graf_unit(g.x, w1)->vector, *v2 = graf_unit(g.x, w2)->vector;
        EXPECT_DOUBLE_EQ(v1[0] + v1[1], (c.at[c.w1][0] + c.at[c.w1][1]) * 0.7);  // only the nearest moves
        EXPECT_EQ(std::vector<double>(v2, v2 + 2), c.at[c.w2]);
        auto d = [&](size_t i) { return c.at[i][0] * c.at[i][0] + c.at[i][1] * c.at[i][1]; };
        EXPECT_EQ((std::vector<double>{graf_unit(g.x, w1)->error, graf_unit(g.x, w1)->utility}),
                  (std::vector<double>{d(c.w1), 1 + d(c.w2) - d(c.w1)}));
    }
}

TEST(GasnetGraph, EqualErrorsGoToTheFirstVisited) {
    Gas g;
    // 1 and 4 share the largest error, and each has 2 and 3 as neighbours of equal error.
    set_graph(g.x, {{0, 0}, {0, 0}, {0, 0}, {0, 0}}, {{1, 2, 0}, {1, 3, 0}, {4, 3, 0}, {4, 2, 0}});
    for (long id = 1; id <= 4; id++) graf_unit(g.x, id)->error = id == 1 || id == 4 ? 9 : 2;
    Longs order = store_order(g.x);
    long worst = *std::find_if(order.begin(), order.end(), [](long id) { return id == 1 || id == 4; });
    graf_evaluer(g.x);
    EXPECT_EQ((Longs{g.x->worst, g.x->worst_neighbour}), (Longs{worst, worst == 1 ? 2 : 3}));  // its first edge
}

TEST(GasnetGraph, FullGraphReplacesItsLeastUsefulUnit) {
    // Unit 1 wins with error 50 and 2 is its worst neighbour; 3 and 4 hang on 2. With kappa 2.5 the
    // least useful unit goes when 50 / its utility > 2.5 and the graph is full; then 5 comes
    // between 1 and 2. gone -1: the first of 3 and 4 in store order.
    const struct { const char *box; double u3, u4; long gone; bool inserts; } cases[] = {
        {"gasnet 4 @kappa 2.5", 0, 0, -1, true},   // infinite ratio, equal utilities
        {"gasnet 4 @kappa 2.5", 20, 30, 0, false},  // exactly kappa: kept, and no room for 5
        {"gasnet 4 @kappa 2.5", 19.5, 30, 3, true},
        {"gasnet 5 @kappa 2.5", 0, 30, 0, true},    // room left: nothing goes
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + std::to_string(c.u3));
        Gas g(c.box);
        set_graph(g.x, {{0, 0}, {10, 10}, {100, 100}, {100, 0}}, {{1, 2, 0}, {2, 3, 0}, {2, 4, 0}});
        graf_unit(g.x, 1)->error = 50;
        graf_unit(g.x, 2)->error = 20;
        graf_unit(g.x, 2)->utility = 100;
        graf_unit(g.x, 3)->utility = c.u3;
        graf_unit(g.x, 4)->utility = c.u4;
        Longs order = store_order(g.x);
        long gone = c.gone >= 0 ? c.gone : *std::find_if(order.begin(), order.end(), [](long id) { return id >= 3; });
        g.send("learn 0 0");
        for (long id : {3, 4}) EXPECT_EQ(graf_unit(g.x, id) == nullptr, id == gone) << id;
        EXPECT_EQ(g.x->next_id, c.inserts ? 6 : 5);
        EXPECT_EQ(edges_of(g.x, 1), (Edges{{c.inserts ? 5 : 2, 0}}));
        if (c.inserts) {
            EXPECT_EQ(edges_of(g.x, 5), (Edges{{1, 0}, {2, 0}}));
            // Halved by alpha, then every unit decays by beta: 50 -> 18.75, 20 -> 7.5, the new unit 17.5 -> 13.125.
            EXPECT_EQ((std::vector<double>{graf_unit(g.x, 1)->error, graf_unit(g.x, 2)->error, graf_unit(g.x, 5)->error}),
                      (std::vector<double>{18.75, 7.5, 13.125}));
        }
        if (graf_unit(g.x, 4)) {
            EXPECT_EQ(graf_unit(g.x, 4)->utility, c.inserts ? c.u4 * 0.75 : c.u4);  // decays only with an insertion
        }
        expect_invariants(g.x);
    }
}
