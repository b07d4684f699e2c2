// "learn" and "list"/"change": input handling, the insertion rhythm, the pass-through, long runs
// that must keep the graph sound, and whether the gas really learns a distribution.
#include "gasnet_test_util.h"

#include <cmath>
#include <random>
#include <sstream>

static std::string learn_text(const std::vector<long> &v) {
    std::ostringstream s;
    s << "learn";
    for (long e : v) s << ' ' << e;
    return s.str();
}

TEST(GasnetLearning, InputIsClampedAndOddListsAreRefused) {
    Gas g;
    g.send("learn 1 2 3");  // a new size: a fresh graph of 3 components, then one insertion step
    EXPECT_EQ(g.x->vector_size, 3);
    EXPECT_EQ(g.x->unit_count, 3);
    EXPECT_EQ(g.x->step_count, 1);
    g.send("learn 10 -5 200");
    EXPECT_EQ(std::vector<double>(g.x->input, g.x->input + 3), (std::vector<double>{10, 0, 127}));
    g.send("learn 1 2.5 3");
    double r = g.x->input[1];
    EXPECT_TRUE(r >= 0 && r <= 127 && r == std::floor(r)) << r;

    long steps = g.x->step_count, next = g.x->next_id;
    g.send("learn");
    std::string long_list = "learn";
    for (int i = 0; i < 300; i++) long_list += " 7";
    g.send(long_list);
    EXPECT_EQ(g.x->vector_size, 3);
    EXPECT_EQ(g.x->step_count, steps);
    EXPECT_EQ(g.x->next_id, next);
    g.send("1");
    ASSERT_EQ(g.take().size(), 1u);
}

TEST(GasnetLearning, InsertsEveryLambdaSteps) {
    for (long lambda : {1, 2, 3}) {
        Gas g("gasnet 100 @lambda " + std::to_string(lambda));
        srand(1);
        for (long step = 0; step < 12; step++) {
            g.send(learn_text({rand() % 128, rand() % 128, rand() % 128, rand() % 128}));
            EXPECT_EQ(g.x->next_id, 3 + step / lambda + 1) << "lambda " << lambda << " step " << step;
        }
    }
}

TEST(GasnetLearning, ListAndChangePassThroughWithMutation) {
    Gas g("gasnet @mutation 100");
    g.send("list 1 2 3");  // two units only: nothing is replaced
    g.send("change 1 2 3");
    for (const Sent &s : g.take()) EXPECT_EQ(s.args, (std::vector<long>{1, 2, 3}));

    set_graph(g.x, {{1, 2, 3, 4}, {11, 12, 13, 14}, {21, 22, 23, 24.5}});
    for (const char *sel : {"list", "change"}) {
        srand(5);
        g.send(std::string(sel) + " 0 0 0 0 0 0");
    }
    auto sent = g.take();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].args, sent[1].args);
    long base = sent[0].args[0];
    long last = base == 21 ? 25 : base + 3;
    EXPECT_EQ(sent[0].args, (std::vector<long>{base, base + 1, base + 2, last, base, base + 1}));

    g.send("mutation 0");
    g.send("list 2.7 -3 5");
    EXPECT_EQ(g.take()[0].args, (std::vector<long>{2, -3, 5}));
    std::vector<long> big(1000);
    std::string text = "list";
    for (size_t i = 0; i < big.size(); i++) text += " " + std::to_string(big[i] = (long)i);
    g.send(text);
    EXPECT_EQ(g.take()[0].args, big);  // longer than the usual buffer: passed through whole
}

TEST(GasnetLearning, LongRandomRunsKeepTheGraphSound) {
    std::mt19937 rng(11);
    const char *boxes[] = {"gasnet", "gasnet 2 10 @mu 1 @lambda 1", "gasnet 100 1000 @lambda 1 @kappa 0",
                           "gasnet 7 50 @mu 100 @alpha 1 @beta 1", "gasnet 30 127 @kappa 100 @epsilon1 1 @epsilon2 1",
                           "gasnet 12 5 @mu 2 @lambda 7 @alpha 0.01 @beta 0.01 @kappa 0.5"};
    for (const char *box : boxes) {
        SCOPED_TRACE(box);
        Gas g(box);
        srand(rng());
        long size = 4;
        for (int step = 0; step < 3000; step++) {
            if (step % 700 == 699) size = 1 + (long)(rng() % 6);
            std::vector<long> v(size);
            for (long &e : v) e = (long)(rng() % (g.x->value_max + 40)) - 20;
            g.send(learn_text(v));
            if (step % 50 == 0) {
                expect_invariants(g.x);
                if (::testing::Test::HasFailure()) return;
            }
        }
        expect_invariants(g.x);
    }
}

// Mean distance from samples to their nearest unit.
static double quantisation_error(t_gasnet *x, const std::vector<std::vector<double>> &samples) {
    double sum = 0;
    for (const auto &s : samples) {
        double best = INFINITY;
        for (long id : store_order(x)) {
            const double *v = graf_unit(x, id)->vector;
            best = std::min(best, std::hypot(v[0] - s[0], v[1] - s[1]));
        }
        sum += best;
    }
    return sum / (double)samples.size();
}

TEST(GasnetLearning, LearnsClustersAndFollowsAShift) {
    Gas g("gasnet 20 127");
    srand(2);
    std::mt19937 rng(4);
    std::normal_distribution<double> noise(0.0, 4.0);
    auto sample = [&](const std::vector<std::vector<double>> &centres) {
        const auto &c = centres[rng() % centres.size()];
        return std::vector<double>{std::round(c[0] + noise(rng)), std::round(c[1] + noise(rng))};
    };
    auto run = [&](const std::vector<std::vector<double>> &centres, int steps) {
        for (int i = 0; i < steps; i++) {
            auto s = sample(centres);
            g.send(learn_text({(long)s[0], (long)s[1]}));
        }
        std::vector<std::vector<double>> held_out;
        for (int i = 0; i < 300; i++) held_out.push_back(sample(centres));
        for (const auto &c : centres) EXPECT_LT(quantisation_error(g.x, {c}), 8.0) << c[0] << "," << c[1];
        return quantisation_error(g.x, held_out);
    };

    const std::vector<std::vector<double>> clusters = {{20, 20}, {105, 30}, {60, 110}};
    g.send("learn 0 0");
    std::vector<std::vector<double>> held_out;
    for (int i = 0; i < 300; i++) held_out.push_back(sample(clusters));
    double before = quantisation_error(g.x, held_out);
    double after = run(clusters, 3000);
    EXPECT_LT(after, before / 4) << before << " -> " << after;
    EXPECT_LT(after, 10.0);
    double shifted = run({{110, 110}}, 1500);
    EXPECT_LT(shifted, 10.0);
    expect_invariants(g.x);
}
