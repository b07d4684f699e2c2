// "learn" and "list"/"change": input handling, the insertion rhythm, the pass-through, long runs
// that must keep the graph sound, and whether the gas really learns a distribution.
#include "gasnet_test_util.h"

#include <cmath>
#include <random>

static std::string learn_text(const std::vector<double> &v) {
    std::string s = "learn";
    for (double e : v) s += " " + std::to_string((long)e);
    return s;
}

TEST(GasnetLearning, InputHandlingAndRefusedLists) {
    Gas g;
    g.send("learn 1 2 3");  // a new size: a fresh graph of 3 components, then an insertion step
    EXPECT_EQ((Longs{g.x->vector_size, g.x->unit_count, g.x->step_count, g.x->lcd_busy}), (Longs{3, 3, 1, 1}));
    g.send("learn 10 -5 200");
    EXPECT_EQ(std::vector<double>(g.x->input, g.x->input + 3), (std::vector<double>{10, 0, 127}));
    srand(9);
    const double draw = rand() % 128;
    srand(9);
    g.send("learn 1 2.5 3");  // a component that is no integer is a fresh draw in 0..127, not the old 0
    EXPECT_EQ(g.x->input[1], draw);

    Longs before = {g.x->vector_size, g.x->step_count, g.x->next_id};
    g.send("learn");  // no components: ignored
    std::string long_list = "learn";
    for (int i = 0; i < 300; i++) long_list += " 7";
    g.send(long_list);  // too long for a unit vector: ignored
    EXPECT_EQ((Longs{g.x->vector_size, g.x->step_count, g.x->next_id}), before);
    g.send("1");
    EXPECT_EQ(g.take().size(), 1u);
    g.send("learn 200");  // a single component is a vector like any other
    EXPECT_EQ((Longs{g.x->vector_size, g.x->unit_count, g.x->step_count}), (Longs{1, 3, 1}));
    EXPECT_EQ(g.x->input[0], 127);
}

TEST(GasnetLearning, InsertsEveryLambdaSteps) {
    for (long lambda : {1, 2, 3}) {
        Gas g("gasnet 100 @lambda " + std::to_string(lambda));
        for (long step = 0; step < 12; step++) {
            g.send(learn_text({(double)(rand() % 128), (double)(rand() % 128), (double)(rand() % 128), 5}));
            EXPECT_EQ(g.x->next_id, 4 + step / lambda) << "lambda " << lambda << ", step " << step;
        }
    }
}

TEST(GasnetLearning, ListAndChangePassThrough) {
    Gas g("gasnet @mutation 100");
    g.send("list 1 2 3");  // two units only: nothing is replaced
    EXPECT_EQ(g.take()[0].args, (Longs{1, 2, 3}));
    set_graph(g.x, {{1, 2, 3, 4}, {11, 12, 13, 14}, {21, 22, 23, 24.5}});
    for (const char *selector : {"list", "change"}) {
        srand(5);
        g.send(std::string(selector) + " 0 0 0 0 0 0");
    }
    auto sent = g.take();
    long b = sent[0].args[0];  // components cycle: 0 1 2 3 0 1 of one unit
    EXPECT_EQ(sent[0].args, (Longs{b, b + 1, b + 2, b == 21 ? 25 : b + 3, b, b + 1}));
    EXPECT_EQ(sent[1].args, sent[0].args);

    // Each component draws c = rand() % 100 after the unit's draw and is replaced when mutation > c.
    for (unsigned seed = 1; seed <= 20; seed++) {
        srand(seed);
        rand();
        const long c = rand() % 100;
        for (long m : {c, c + 1}) {
            g.send("mutation " + std::to_string(m));
            srand(seed);
            g.send("list -1");
            EXPECT_EQ(g.take()[0].args[0] != -1, m > c) << "mutation " << m << ", draw " << c;
        }
    }
    g.send("list");  // an empty list passes as one
    auto empty = g.take();
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].args, Longs{});

    g.send("mutation 0");
    g.send("list 2.7 -3 5");
    EXPECT_EQ(g.take()[0].args, (Longs{2, -3, 5}));
    Longs big(1000);
    std::string text = "list";
    for (size_t i = 0; i < big.size(); i++) text += " " + std::to_string(big[i] = (long)i);
    g.send(text);  // longer than a unit: passed through whole
    EXPECT_EQ(g.take()[0].args, big);
}

TEST(GasnetLearning, LongRandomRunsKeepTheGraphSound) {
    std::mt19937 rng(11);
    for (const char *box : {"gasnet", "gasnet 2 10 @mu 1 @lambda 1", "gasnet 100 1000 @lambda 1 @kappa 0",
                            "gasnet 7 50 @mu 100 @alpha 1 @beta 1", "gasnet 30 127 @kappa 100 @epsilon1 1 @epsilon2 1",
                            "gasnet 12 5 @mu 2 @lambda 7 @alpha 0.01 @beta 0.01 @kappa 0.5"}) {
        SCOPED_TRACE(box);
        Gas g(box);
        srand(rng());
        std::vector<double> v(4);
        for (int step = 1; step <= 3000 && !HasFailure(); step++) {
            if (step % 700 == 0) v.resize(1 + rng() % 6);
            for (double &e : v) e = (double)(rng() % (g.x->value_max + 40)) - 20;
            g.send(learn_text(v));
            if (step % 50 == 0) expect_invariants(g.x);
        }
    }
}

// Mean distance from points to their nearest unit.
static double mean_nearest(t_gasnet *x, const std::vector<std::vector<double>> &points) {
    double sum = 0;
    for (const auto &p : points) {
        double best = INFINITY;
        for (long id : store_order(x))
            best = std::min(best, std::hypot(graf_unit(x, id)->vector[0] - p[0], graf_unit(x, id)->vector[1] - p[1]));
        sum += best / (double)points.size();
    }
    return sum;
}

TEST(GasnetLearning, LearnsClustersAndFollowsAShift) {
    Gas g("gasnet 20 127");
    srand(2);
    std::mt19937 rng(4);
    std::normal_distribution<double> noise(0.0, 4.0);
    auto samples = [&](const std::vector<std::vector<double>> &centres, int n) {
        std::vector<std::vector<double>> out;
        for (int i = 0; i < n; i++) {
            const auto &c = centres[rng() % centres.size()];
            out.push_back({std::round(c[0] + noise(rng)), std::round(c[1] + noise(rng))});
        }
        return out;
    };
    const std::vector<std::vector<double>> clusters = {{20, 20}, {105, 30}, {60, 110}}, moved = {{110, 110}};
    g.send("learn 0 0");
    double before = mean_nearest(g.x, samples(clusters, 300));
    for (const auto &s : samples(clusters, 3000)) g.send(learn_text(s));
    double after = mean_nearest(g.x, samples(clusters, 300));  // held-out points
    EXPECT_LT(after, std::min(before / 4, 10.0)) << before << " -> " << after;
    for (const auto &c : clusters) EXPECT_LT(mean_nearest(g.x, {c}), 8.0) << c[0] << " " << c[1];
    for (const auto &s : samples(moved, 1500)) g.send(learn_text(s));
    EXPECT_LT(mean_nearest(g.x, moved), 8.0);  // the units follow a jump of the distribution
    expect_invariants(g.x);
}
