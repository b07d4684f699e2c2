// Creation, attributes, assistance and the read-out messages.
#include "gasnet_test_util.h"

#include <climits>

TEST(GasnetObject, BoxArguments) {
    Gas plain;
    t_gasnet *x = plain.x;
    EXPECT_EQ((Longs{x->max_units, x->value_max, x->vector_size, x->mutation, x->mu, x->lambda, x->lcd, x->unit_count}),
              (Longs{20, 127, 4, 50, 5, 2, 200, 2}));
    EXPECT_EQ((std::vector<double>{x->alpha, x->beta, x->epsilon1, x->epsilon2, x->kappa}),
              (std::vector<double>{0.5, 0.25, 0.3, 0.15, 3.0}));
    EXPECT_EQ(edges_of(x, 1), (Edges{{2, 0}}));
    EXPECT_EQ(edges_of(x, 2), (Edges{{1, 0}}));
    expect_invariants(x);
    for (auto [box, max_units, value_max] : {std::tuple{"gasnet 10 1000", 10, 1000}, {"gasnet 1 1000", 20, 1000},
                                            {"gasnet 101", 20, 127}, {"gasnet 2.5 1000", 20, 127},
                                            {"gasnet foo 1000", 20, 127}, {"gasnet 5 1", 5, 127}, {"gasnet 2 2", 2, 2}}) {
        Gas g(box);
        EXPECT_EQ((Longs{g.x->max_units, g.x->value_max}), (Longs{max_units, value_max})) << box;
    }
    Gas with_attributes("gasnet 10 @mu 8 @kappa 1.5");
    EXPECT_EQ(with_attributes.x->mu, 8);
    EXPECT_EQ(with_attributes.x->kappa, 1.5);
    Gas at_top("gasnet @mu 100 @lambda 100");  // the upper bounds themselves are kept, and no more
    EXPECT_EQ((Longs{at_top.x->mu, at_top.x->lambda}), (Longs{100, 100}));
    at_top.send("mu 101");
    at_top.send("lambda 101");
    EXPECT_EQ((Longs{at_top.x->mu, at_top.x->lambda}), (Longs{100, 100}));

    // Every creation reseeds the generator from the clock: the draws after it do not continue the
    // sequence of the seed set before.
    srand(7);
    std::vector<int> seven(64);
    for (int &v : seven) v = rand();
    srand(7);
    Gas reseeded;
    const int next[2] = {rand(), rand()};
    EXPECT_EQ(std::search(seven.begin(), seven.end(), next, next + 2), seven.end());
}

TEST(GasnetObject, HugeValueMaxNeverOverflows) {
    Gas g("gasnet 10 " + std::to_string(LONG_MAX) + " @epsilon1 1");  // value_max + 1 is not representable
    srand(3);
    for (int i = 0; i < 50; i++) g.send("learn 5 -3 2.5 " + std::to_string(LLONG_MAX));
    g.send("1");  // a component at the top of the range is read out as the largest integer, not wrapped
    auto sent = g.take();
    ASSERT_EQ(sent.size(), 1u);
    for (long v : sent[0].args) EXPECT_GE(v, 0);
    g.send("clear");
    expect_invariants(g.x);
}

TEST(GasnetObject, AttributesAndAssistance) {
    Gas g;
    for (const char *m : {"alpha 0", "beta 2", "kappa 1.5", "mu 0", "lambda 500", "mutation -4", "lcd 1000"}) g.send(m);
    EXPECT_EQ((std::vector<double>{g.x->alpha, g.x->beta, g.x->kappa}), (std::vector<double>{0.01, 1.0, 1.5}));
    EXPECT_EQ((Longs{g.x->mu, g.x->lambda, g.x->mutation, g.x->lcd}), (Longs{1, 100, 0, 800}));
    // An attribute's name alone calls its setter with no atoms, as Max may: the value stays.
    for (const char *m : {"alpha", "beta", "epsilon1", "epsilon2", "kappa", "mu"}) g.send(m);
    EXPECT_EQ((std::vector<double>{g.x->alpha, g.x->beta, g.x->epsilon1, g.x->epsilon2, g.x->kappa}),
              (std::vector<double>{0.01, 1.0, 0.3, 0.15, 1.5}));
    EXPECT_EQ(g.x->mu, 1);
    std::vector<t_atom> v;
    ASSERT_TRUE(maxhost::get_attribute(g.obj, "kappa", &v));
    EXPECT_EQ(atom_gettype(&v[0]), A_FLOAT);
    EXPECT_EQ(atom_getfloat(&v[0]), 1.5);

    EXPECT_EQ(maxhost::assist(g.obj, ASSIST_INLET, 0), "(list) (bang) (int) (symbol) clear, learn, change, dump_max, dump_lcd");
    EXPECT_EQ(maxhost::assist(g.obj, ASSIST_OUTLET, 0), "(list)");
    EXPECT_EQ(maxhost::assist(g.obj, ASSIST_OUTLET, 1), "(lcd) dump");
}

TEST(GasnetObject, IntBangAndClear) {
    Gas g;
    set_graph(g.x, {{2.5, 2.49, 0, 127}, {1, 2, 3, 4}}, {{1, 2, 0}});
    std::map<long, Longs> rounded = {{1, {3, 2, 0, 127}}, {2, {1, 2, 3, 4}}};
    for (const char *m : {"0", "3", "1", "2"}) g.send(m);
    auto sent = g.take();
    ASSERT_EQ(sent.size(), 2u);  // units are numbered from 1, in store order
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ(sent[i].outlet, 0);
        EXPECT_EQ(sent[i].args, rounded[store_order(g.x)[i]]);
    }
    srand(1);
    for (int i = 0; i < 20; i++) g.send("bang");
    std::map<Longs, int> banged;
    for (const Sent &s : g.take()) banged[s.args]++;
    EXPECT_EQ(banged.size(), 2u);  // a fresh draw each time, among the two units only
    EXPECT_EQ(banged[rounded[1]] + banged[rounded[2]], 20);

    g.x->step_count = 7;
    systhread_mutex_lock(g.x->mutex);
    g.send("clear");  // busy: dropped
    systhread_mutex_unlock(g.x->mutex);
    EXPECT_EQ(graf_unit(g.x, 1)->vector[0], 2.5);
    g.send("clear");
    EXPECT_NE(graf_unit(g.x, 1)->vector[0], 2.5);
    EXPECT_EQ((Longs{g.x->step_count, g.x->next_id, g.x->vector_size}), (Longs{0, 3, 4}));
    expect_invariants(g.x);
    g.send("learn 1 2 3 4");  // the mutex was given back
    EXPECT_EQ(g.x->step_count, 1);
}
