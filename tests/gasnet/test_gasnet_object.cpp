// Creation, attributes, assistance and the read-out messages ("int", "bang", "clear").
#include "gasnet_test_util.h"

#include <climits>

TEST(GasnetObject, BoxArgumentsAndDefaults) {
    Gas plain;
    ASSERT_NE(plain.x, nullptr);
    t_gasnet *x = plain.x;
    EXPECT_EQ(x->max_units, 20);
    EXPECT_EQ(x->value_max, 127);
    EXPECT_EQ(x->vector_size, 4);
    EXPECT_EQ(x->mutation, 50);
    EXPECT_EQ(x->mu, 5);
    EXPECT_EQ(x->lambda, 2);
    EXPECT_EQ(x->lcd, 200);
    EXPECT_DOUBLE_EQ(x->alpha, 0.5);
    EXPECT_DOUBLE_EQ(x->beta, 0.25);
    EXPECT_DOUBLE_EQ(x->epsilon1, 0.3);
    EXPECT_DOUBLE_EQ(x->epsilon2, 0.15);
    EXPECT_DOUBLE_EQ(x->kappa, 3.0);
    EXPECT_EQ(x->next_id, 3);
    EXPECT_EQ(edges_of(x, 1), (std::vector<std::pair<long, long>>{{2, 0}}));
    EXPECT_EQ(edges_of(x, 2), (std::vector<std::pair<long, long>>{{1, 0}}));
    expect_invariants(x);

    struct Case {
        const char *box;
        long max_units, value_max;
    };
    for (Case c : {Case{"gasnet 10 1000", 10, 1000}, Case{"gasnet 1 1000", 20, 1000}, Case{"gasnet 101", 20, 127},
                   Case{"gasnet 2.5 1000", 20, 127}, Case{"gasnet foo 1000", 20, 127}, Case{"gasnet 5 1", 5, 127}}) {
        Gas g(c.box);
        EXPECT_EQ(g.x->max_units, c.max_units) << c.box;
        EXPECT_EQ(g.x->value_max, c.value_max) << c.box;
    }
    Gas with_attrs("gasnet 10 @mu 8 @kappa 1.5");
    EXPECT_EQ(with_attrs.x->max_units, 10);
    EXPECT_EQ(with_attrs.x->mu, 8);
    EXPECT_DOUBLE_EQ(with_attrs.x->kappa, 1.5);
}

TEST(GasnetObject, HugeValueMaxNeverOverflows) {
    // value_max + 1 would overflow here; draws and clamping must stay in range all the same.
    Gas g("gasnet 10 " + std::to_string(LONG_MAX));
    ASSERT_EQ(g.x->value_max, LONG_MAX);
    srand(3);
    for (int i = 0; i < 50; i++) g.send("learn 5 -3 2.5 " + std::to_string(LLONG_MAX));
    g.send("clear");
    g.send("learn 1 2 3");
    EXPECT_EQ(g.x->input[0], 1.0);
    expect_invariants(g.x);
}

TEST(GasnetObject, AttributesClipSaveAndOrder) {
    Gas g;
    auto set = [&](const char *name, double v) {
        t_atom a;
        atom_setfloat(&a, v);
        maxhost::set_attribute(g.obj, name, 1, &a);
    };
    set("alpha", 0);
    EXPECT_DOUBLE_EQ(g.x->alpha, 0.01);
    set("alpha", 2);
    EXPECT_DOUBLE_EQ(g.x->alpha, 1.0);
    set("kappa", 1.5);
    std::vector<t_atom> v;
    ASSERT_TRUE(maxhost::get_attribute(g.obj, "kappa", &v));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(atom_gettype(&v[0]), A_FLOAT);
    EXPECT_DOUBLE_EQ(atom_getfloat(&v[0]), 1.5);
    g.send("mu 0");
    g.send("lambda 500");
    g.send("mutation -4");
    g.send("lcd 1000");
    EXPECT_EQ(g.x->mu, 1);
    EXPECT_EQ(g.x->lambda, 100);
    EXPECT_EQ(g.x->mutation, 0);
    EXPECT_EQ(g.x->lcd, 800);

    t_class *c = maxhost::find_class("gasnet");
    EXPECT_EQ(maxhost::attribute_names(c), (std::vector<std::string>{"lcd", "mutation", "mu", "lambda", "alpha",
                                                                     "beta", "epsilon1", "epsilon2", "kappa"}));
    const char *order[] = {"mu", "lambda", "alpha", "beta", "epsilon1", "epsilon2", "kappa", "lcd", "mutation"};
    for (int i = 0; i < 9; i++) {
        ASSERT_TRUE(maxhost::attribute_meta(c, order[i], "order", &v)) << order[i];
        EXPECT_EQ(maxhost::atoms_to_text((long)v.size(), v.data()), std::to_string(i + 1));
        ASSERT_TRUE(maxhost::attribute_meta(c, order[i], "save", &v)) << order[i];
        EXPECT_EQ(atom_getlong(&v[0]), 1);
    }
    EXPECT_EQ(maxhost::assist(g.obj, ASSIST_INLET, 0), "(list) (bang) (int) (symbol) clear, learn, change, dump_max, dump_lcd");
    EXPECT_EQ(maxhost::assist(g.obj, ASSIST_OUTLET, 0), "(list)");
    EXPECT_EQ(maxhost::assist(g.obj, ASSIST_OUTLET, 1), "(lcd) dump");
}

TEST(GasnetObject, IntBangAndClear) {
    Gas g;
    set_graph(g.x, {{2.5, 2.49, 0, 127}, {1, 2, 3, 4}}, {{1, 2, 0}});
    std::vector<long> order = store_order(g.x);
    std::map<long, std::vector<long>> rounded = {{1, {3, 2, 0, 127}}, {2, {1, 2, 3, 4}}};
    g.send("0");
    g.send("3");
    EXPECT_TRUE(g.take().empty());
    g.send("1");
    g.send("2");
    auto sent = g.take();
    ASSERT_EQ(sent.size(), 2u);
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ(sent[i].outlet, 0);
        EXPECT_EQ(sent[i].selector, "list");
        EXPECT_EQ(sent[i].args, rounded[order[i]]);
    }
    for (int i = 0; i < 20; i++) g.send("bang");
    for (const Sent &s : g.take()) EXPECT_TRUE(s.args == rounded[1] || s.args == rounded[2]);

    // A clear that finds the graph busy is dropped; a later one starts afresh.
    g.send("mu 9");
    systhread_mutex_lock(g.x->mutex);
    g.send("clear");
    systhread_mutex_unlock(g.x->mutex);
    EXPECT_EQ(graf_unit(g.x, 1)->vector[0], 2.5);
    g.x->step_count = 7;
    g.send("clear");
    EXPECT_NE(graf_unit(g.x, 1)->vector[0], 2.5);
    EXPECT_EQ(g.x->step_count, 0);
    EXPECT_EQ(g.x->vector_size, 4);
    EXPECT_EQ(g.x->mu, 9);
    expect_invariants(g.x);
}
