// Generation ("bang") and the score ("vraisemblance").
#include "chainlet_fixture.h"

#include <map>

namespace {

Ints bangs(Chain &c, int count)
{
    c.take();
    for (int i = 0; i < count; i++) c.send("bang");
    Ints out;
    for (const Sent &s : c.take()) {
        EXPECT_EQ(s.outlet, 0);
        out.push_back((int)s.args.at(0));
    }
    return out;
}

// P(o_0 .. o_{len-1}) by summing over every hidden path.
double prefix_probability(const Model &m, const Ints &o, size_t len)
{
    const size_t n = m.initial.size();
    double total = 0.0;
    std::vector<size_t> path(len, 0);
    for (size_t code = 0, paths = (size_t)std::pow((double)n, (double)len); code < paths; code++) {
        size_t rest = code;
        for (size_t t = 0; t < len; t++, rest /= n) path[t] = rest % n;
        double p = 1.0;
        for (size_t t = 0; t < len; t++)
            p *= (t == 0 ? m.initial[path[0]] : m.transition[path[t - 1]][path[t]]) * m.emission[path[t]][(size_t)o[t]];
        total += p;
    }
    return total;
}

const Model two_states{{0.4, 0.6},
                       {{0.2, 0.8}, {0.6, 0.4}},
                       {emission_row({{1, 0.7}, {2, 0.3}}), emission_row({{2, 0.5}, {3, 0.5}})},
                       {},
                       {},
                       {}};

}  // namespace

TEST(ChainletGeneration, BangBeforeTrainingAndAfterClear)
{
    Chain c("chainlet 3");
    c.send("bang");
    c.send("int 5");
    c.send("5");
    auto sent = c.take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].outlet, 1);
    EXPECT_EQ(sent[0].selector, "bang");
    c.learn({1, 2, 3});
    ASSERT_EQ(bangs(c, 3).size(), 3u);
    c.send("clear");
    EXPECT_EQ(c.x->current_state, -1);
    c.send("bang");
    sent = c.take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].outlet, 1);
}

TEST(ChainletGeneration, ADeterministicChainIsWalkedInOrder)
{
    Chain c("chainlet 3");
    set_model(c.x, {0, 1, 0}, {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
              {emission_row({{10, 1.0}}), emission_row({{11, 1.0}}), emission_row({{12, 1.0}})});
    c.x->trained = 1;
    srand(2);
    Ints want;
    for (int i = 0; i < 30; i++) want.push_back(10 + (i + 1) % 3);
    EXPECT_EQ(bangs(c, 30), want);  // the start state is drawn once, from the initial distribution
    EXPECT_EQ(c.x->current_state, 1);
    // Training does not reset the generator.
    c.x->apprentissage = 1e30f;
    c.learn({11, 12});
    EXPECT_EQ(bangs(c, 2), (Ints{11, 12}));
}

TEST(ChainletGeneration, FrequenciesFollowTheModel)
{
    Chain c("chainlet 2");
    set_model(c.x, two_states);
    c.x->trained = 1;
    srand(12);
    const Ints out = bangs(c, 40000);
    // Stationary distribution (3/7, 4/7): P(1) = 0.3, P(2) = 2.9 / 7, P(3) = 2 / 7.
    std::map<int, double> freq;
    std::map<std::pair<int, int>, double> pairs;
    for (size_t i = 0; i < out.size(); i++) {
        freq[out[i]] += 1.0 / (double)out.size();
        if (i > 0) pairs[{out[i - 1], out[i]}] += 1.0;
    }
    EXPECT_EQ(freq.size(), 3u);
    EXPECT_NEAR(freq[1], 0.3, 0.02);
    EXPECT_NEAR(freq[2], 2.9 / 7, 0.02);
    EXPECT_NEAR(freq[3], 2.0 / 7, 0.02);
    // After a 1 (state 0 for sure) the next state is 1 with probability 0.8: P(3 | 1) = 0.4.
    const double p11 = pairs[{1, 1}], p12 = pairs[{1, 2}], p13 = pairs[{1, 3}];
    EXPECT_NEAR(p13 / (p11 + p12 + p13), 0.4, 0.03);
    EXPECT_NEAR(p11 / (p11 + p12 + p13), 0.14, 0.03);
}

TEST(ChainletScore, OneSymbolAndLongerSequencesMatchThePathSums)
{
    Chain c("chainlet 2");
    set_model(c.x, two_states);
    EXPECT_NEAR(c.score({2}), -std::log(0.4 * 0.3 + 0.6 * 0.5), 1e-12);
    // ln of the sum of the coefficients, c_t = P(o_<t) / P(o_<=t).
    const Ints o = {1, 3, 2, 2, 1, 3};
    double sum = 0.0;
    for (size_t t = 1; t <= o.size(); t++)
        sum += (t == 1 ? 1.0 : prefix_probability(two_states, o, t - 1)) / prefix_probability(two_states, o, t);
    EXPECT_NEAR(c.score(o), std::log(sum), 1e-12);
    EXPECT_EQ(c.x->sequence_length, 6);
    EXPECT_EQ(c.x->trained, 0);  // scoring changes neither the model nor the training state
}

TEST(ChainletScore, ImpossibleSequences)
{
    Chain c("chainlet 2");
    set_model(c.x, two_states);
    const double p1 = prefix_probability(two_states, {1, 3}, 1), p2 = prefix_probability(two_states, {1, 3}, 2);
    // Impossible from step 2 on: the logarithm of the prefix's coefficients, not 1000.
    EXPECT_NEAR(c.score({1, 3, 9, 1}), std::log(1.0 / p1 + p1 / p2), 1e-12);
    EXPECT_EQ(c.score({9, 1, 2}), 1000.0);
    EXPECT_EQ(c.score({}), 1000.0);  // an empty sequence answers as an impossible one
    // A busy pass answers 1000.0 and drops a training list.
    systhread_mutex_lock(c.x->mutex);
    EXPECT_EQ(c.score({1}), 1000.0);
    c.learn({1, 2});
    systhread_mutex_unlock(c.x->mutex);
    EXPECT_EQ(c.x->trained, 0);
    EXPECT_NE(c.score({1}), 1000.0);
}

TEST(ChainletScore, LongSequences)
{
    Chain c("chainlet 4");
    Ints o;
    for (int t = 0; t < 32767; t++) o.push_back((t * 7) % 128);
    const double all = c.score(o);  // the longest a message can carry
    EXPECT_GT(all, std::log(32767.0));
    EXPECT_EQ(c.x->sequence_length, 32767);
    const Ints thousand(o.begin(), o.begin() + 1000);
    const double part = c.score(thousand);
    EXPECT_TRUE(part >= std::log(1000.0) && part < all);
    // Beyond what a message carries: not scored (nothing allocated), answered as impossible.
    std::vector<t_atom> av(32768);
    for (t_atom &a : av) atom_setlong(&a, 1);
    c.take();
    chainlet_vraisemblance(c.x, gensym("vraisemblance"), (long)av.size(), av.data());
    auto sent = c.take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].args[0], 1000.0);
    EXPECT_EQ(c.x->sequence_length, 1000);
    // A training list after the long ones is learned as usual.
    c.learn({1, 2, 3});
    EXPECT_EQ(c.x->trained, 1);
    EXPECT_EQ(c.x->sequence_length, 3);
}

// Rows that shrink past the smallest doubles: a step whose probability is below about 5.6e-309
// has an infinite coefficient, and the steps after it would compute inf x 0. Every score stays a
// finite number (at least 0: the first coefficient is at least 1), or exactly 1000.0.
TEST(ChainletScore, ScoresStayFiniteWhenRowsShrinkPastTheSmallestDoubles)
{
    auto expect_sound = [](double score, const std::string &what) {
        EXPECT_TRUE(score == 1000.0 || (std::isfinite(score) && score >= 0.0)) << what << ": " << score;
    };
    {
        // Seven lists of one symbol with the smallest positive weight: symbol 1 shrinks to about 1e-316.
        Chain c("chainlet 2");
        srand(1);
        c.send("clear");
        c.send("apprentissage 1e-45");
        for (int l = 0; l < 7; l++) c.learn({0});
        EXPECT_EQ(c.score({1, 1, 1}), 1000.0);
    }
    // The default weight halves every other symbol at each list of 0s.
    Chain c("chainlet 2");
    srand(1);
    c.send("clear");
    const std::vector<Ints> probes = {{1, 1, 1}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}};
    for (int l = 1; l <= 1100; l++) {
        c.learn({0, 0, 0});
        if (l < 980) continue;
        for (const Ints &o : probes) expect_sound(c.score(o), "list " + std::to_string(l));
    }
    EXPECT_EQ(c.score({1, 1, 1}), 1000.0);  // by now every other symbol is impossible
    EXPECT_NEAR(c.score({0, 0, 0}), std::log(3.0), 1e-12);

    // The passes called directly, with subnormal values in the rows: the infinite coefficient makes
    // the sum NaN, which scores as impossible.
    set_model(c.x, {0.5, 0.5}, {{0.5, 0.5}, {0.5, 0.5}},
              {emission_row({{0, 1.0 - 1e-310}, {1, 1e-310}}), emission_row({{0, 1.0 - 1e-310}, {1, 1e-310}})});
    std::vector<t_atom> av(3);
    for (t_atom &a : av) atom_setlong(&a, 1);
    ASSERT_TRUE(graf_init_vecteur(c.x, 3, av.data()));
    calculer_forward(c.x);
    EXPECT_EQ(calculer_vraisemblance(c.x), 0.0);
}
