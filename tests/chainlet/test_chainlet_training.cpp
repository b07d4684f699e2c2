// Training: one "list" against an exact computation over every hidden path, the reference loops bit
// for bit, the gate, and what the model learns over many sequences.
#include "chainlet_fixture.h"
#include "maxlearn_fpmode.h"

#include <cstdlib>
#include <functional>

namespace {

// Probability of every hidden path of a sequence under a model, and from them the exact
// posteriors and the re-estimated rows of one Baum-Welch step.
struct Exact {
    Row initial;                              // posterior of each state at step 0
    std::vector<Row> transition, emission;    // re-estimates; empty row when the total is 0
    double probability = 0.0;                 // P(o)
};

Exact enumerate(const Model &m, const Ints &o)
{
    const size_t n = m.initial.size(), T = o.size();
    Exact e;
    e.initial.assign(n, 0.0);
    std::vector<Row> xi(n, Row(n, 0.0)), occupation(n, Row(128, 0.0));
    std::vector<size_t> path(T, 0);
    std::function<void(size_t, double)> walk = [&](size_t t, double p) {
        if (p == 0.0) return;
        if (t == T) {
            e.probability += p;
            e.initial[path[0]] += p;
            for (size_t s = 0; s < T; s++) occupation[path[s]][(size_t)o[s]] += p;
            for (size_t s = 0; s + 1 < T; s++) xi[path[s]][path[s + 1]] += p;
            return;
        }
        for (size_t i = 0; i < n; i++) {
            path[t] = i;
            double q = t == 0 ? m.initial[i] : m.transition[path[t - 1]][i];
            walk(t + 1, p * q * m.emission[i][(size_t)o[t]]);
        }
    };
    walk(0, 1.0);
    for (double &v : e.initial) v /= e.probability;
    for (size_t i = 0; i < n; i++) {
        double tt = 0.0, te = 0.0;
        for (double v : xi[i]) tt += v;
        for (double v : occupation[i]) te += v;
        e.transition.push_back(tt > 0 ? Row{} : Row{});
        if (tt > 0)
            for (double v : xi[i]) e.transition.back().push_back(v / tt);
        e.emission.push_back(Row{});
        if (te > 0)
            for (double v : occupation[i]) e.emission.back().push_back(v / te);
    }
    return e;
}

Model random_model(size_t n, std::mt19937 &rng, int symbols)
{
    std::uniform_real_distribution<double> u(0.05, 1.0);
    auto row = [&](size_t len) {
        Row r(len, 0.0);
        double s = 0.0;
        for (size_t k = 0; k < len; k++) s += (r[k] = u(rng));
        for (double &v : r) v /= s;
        return r;
    };
    Model m;
    m.initial = row(n);
    for (size_t i = 0; i < n; i++) {
        m.transition.push_back(row(n));
        Row em(128, 0.0), few = row((size_t)symbols);
        std::copy(few.begin(), few.end(), em.begin());
        m.emission.push_back(em);
    }
    return m;
}

void expect_rows_near(const Row &got, const Row &want, double tol, const std::string &what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t k = 0; k < got.size(); k++) EXPECT_NEAR(got[k], want[k], tol) << what << " [" << k << "]";
}

// A fixed model in place of the random one drawn at creation.
void reseed(Chain &c, unsigned seed)
{
    srand(seed);
    graf_clear(c.x);
}

}  // namespace

TEST(ChainletTraining, OneListIsOneBaumWelchStepOverEveryPath)
{
    std::mt19937 rng(11);
    for (size_t n : {2, 3})
        for (size_t T = 1; T <= 6; T++)
            for (float w : {0.0f, 1.0f, 1000.0f}) {
                const std::string what = "N " + std::to_string(n) + " T " + std::to_string(T) + " w " + std::to_string(w);
                Model m = random_model(n, rng, 4);
                if (T == 4) m.transition[n - 1] = Row(n, 0.0), m.transition[n - 1][0] = 1.0;  // a state that always moves to 0
                Ints o;
                for (size_t t = 0; t < T; t++) o.push_back((int)(rng() % 4));
                Chain c("chainlet " + std::to_string(n));
                c.send("apprentissage " + std::to_string(w));
                set_model(c.x, m);
                c.learn(o);
                ASSERT_EQ(c.x->trained, 1) << what;
                ASSERT_EQ(c.x->sequence_length, (t_int32)T);

                const Exact e = enumerate(m, o);
                auto mix = [&](const Row &old, const Row &est) {
                    Row r(old.size());
                    for (size_t k = 0; k < r.size(); k++) r[k] = (w * old[k] + (est.empty() ? old[k] : est[k])) / (w + 1);
                    return r;
                };
                const Model got = get_model(c.x);
                expect_rows_near(got.initial_estimate, e.initial, 1e-12, what + " initial estimate");
                expect_rows_near(got.initial, mix(m.initial, e.initial), 1e-12, what + " initial");
                for (size_t i = 0; i < n; i++) {
                    // T 1: no transition at all, so every transition row keeps its previous estimate.
                    EXPECT_EQ(e.transition[i].empty(), T == 1) << what;
                    expect_rows_near(got.transition[i], mix(m.transition[i], e.transition[i]), 1e-12,
                                     what + " transition " + std::to_string(i));
                    expect_rows_near(got.emission[i], mix(m.emission[i], e.emission[i]), 1e-12,
                                     what + " emission " + std::to_string(i));
                }
            }
}

TEST(ChainletTraining, PassesGiveTheReferenceLoopsBitForBit)
{
    std::mt19937 rng(5);
    struct Case {
        int n, T;
        float w;
        int lists;
    };
    for (Case k : {Case{50, 256, 1.0f, 3}, Case{6, 16, 1.0f, 20}, Case{7, 33, 0.25f, 5}, Case{13, 100, 3.0f, 4},
                   Case{2, 1, 1.0f, 3}, Case{9, 255, 0.0f, 1}}) {
        Chain c("chainlet " + std::to_string(k.n) + " @apprentissage " + std::to_string(k.w));
        reseed(c, 3);
        for (int l = 0; l < k.lists; l++) {
            Ints o;
            for (int t = 0; t < k.T; t++) o.push_back((int)(rng() % 128));
            Model want = get_model(c.x);
            chainlet_reference::Pass p = chainlet_reference::forward(want, o);
            chainlet_reference::backward(want, o, p);
            ASSERT_TRUE(chainlet_reference::learn(want, o, k.w));
            c.learn(o);
            const std::string what = "N " + std::to_string(k.n) + " list " + std::to_string(l);
            Model got = get_model(c.x);
            EXPECT_EQ(got.initial, want.initial) << what;
            EXPECT_EQ(got.initial_estimate, want.initial_estimate) << what;
            EXPECT_EQ(got.transition, want.transition) << what;
            EXPECT_EQ(got.transition_estimate, want.transition_estimate) << what;
            EXPECT_EQ(got.emission, want.emission) << what;
            EXPECT_EQ(got.emission_estimate, want.emission_estimate) << what;
            EXPECT_EQ(Row(c.x->coefficients, c.x->coefficients + k.T), p.coefficients) << what;
            for (int i = 0; i < k.n; i++) {
                const t_chainlet_state &st = c.x->states[i];
                EXPECT_EQ(Row(st.alpha, st.alpha + k.T), p.alpha[(size_t)i]) << what;
                EXPECT_EQ(Row(st.alpha_unscaled, st.alpha_unscaled + k.T), p.alpha_unscaled[(size_t)i]) << what;
                EXPECT_EQ(Row(st.beta, st.beta + k.T), p.beta[(size_t)i]) << what;
            }
            // The model's accessor functions read the same values.
            EXPECT_EQ(calculer_gamma(c.x, k.n - 1, k.T - 1),
                      p.alpha[(size_t)k.n - 1][(size_t)k.T - 1] * p.beta[(size_t)k.n - 1][(size_t)k.T - 1] /
                          p.coefficients[(size_t)k.T - 1]);
            EXPECT_EQ(calculer_coefficient(c.x, k.T - 1), p.coefficients[(size_t)k.T - 1]);
            for (size_t j : {size_t{0}, (size_t)k.n - 1}) {
                double sigma = 0.0;  // the first state's transition count towards j, from the reference pass
                for (size_t t = 0; t + 1 < (size_t)k.T; t++)
                    sigma += p.alpha[0][t] * c.x->states[0].transition[j] * c.x->states[j].emission[(size_t)o[t + 1]] *
                             p.beta[j][t + 1];
                EXPECT_EQ(calculer_sigma(c.x, 0, (long)j), sigma) << what;
            }
        }
    }
}

TEST(ChainletTraining, TheGateRefusesImpossibleSequences)
{
    Chain c("chainlet 2 @apprentissage 0");
    set_model(c.x, {0.5, 0.5}, {{0.5, 0.5}, {0.5, 0.5}},
              {emission_row({{1, 0.5}, {2, 0.5}}), emission_row({{1, 0.25}, {2, 0.75}})});
    const Model before = get_model(c.x);
    c.learn({1, 2, 3, 1});  // symbol 3 has probability 0 at step 2
    EXPECT_EQ(c.x->trained, 0);
    Model after = get_model(c.x);
    EXPECT_EQ(after.initial, before.initial);
    EXPECT_EQ(after.transition, before.transition);
    EXPECT_EQ(after.emission, before.emission);
    c.send("bang");
    auto sent = c.take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].outlet, 1);

    // apprentissage 0 replaces the model by the estimate: symbols the sequence lacks get exactly 0,
    // so a later sequence holding one is refused.
    c.learn({1, 1, 2});
    EXPECT_EQ(c.x->trained, 1);
    for (int i = 0; i < 2; i++)
        for (int k = 0; k < 128; k++)
            if (k != 1 && k != 2) {
                EXPECT_EQ(c.x->states[i].emission[k], 0.0);
            }
    after = get_model(c.x);
    c.learn({2, 4});
    EXPECT_EQ(get_model(c.x).emission, after.emission);
}

TEST(ChainletTraining, AnOverflowedProductTimesAZeroStepIsRefused)
{
    // Each of the first 200 symbols has probability 1/100, so the product of the coefficients
    // overflows to infinity; then a symbol of probability 0 makes it NaN, which is not 0 but must
    // not reach the model.
    Chain c("chainlet 2 @apprentissage 0");
    Row spread(128, 0.0);
    for (int k = 0; k < 100; k++) spread[(size_t)k] = 0.01;
    set_model(c.x, {0.5, 0.5}, {{0.5, 0.5}, {0.5, 0.5}}, {spread, spread});
    Ints o;
    for (int t = 0; t < 200; t++) o.push_back(t % 100);
    o.push_back(120);
    c.learn(o);
    EXPECT_EQ(c.x->trained, 0);
    EXPECT_TRUE(std::isnan(calculer_produit_coefficient(c.x)));
    EXPECT_EQ(get_model(c.x).emission[0], spread);
    o.pop_back();
    c.learn(o);  // without the impossible symbol it is learned, the infinite product notwithstanding
    EXPECT_TRUE(std::isinf(calculer_produit_coefficient(c.x)));
    EXPECT_EQ(c.x->trained, 1);
    expect_model_stochastic(c.x, 1e-12);
}

TEST(ChainletTraining, OneSymbolSequence)
{
    Chain c("chainlet 3 @apprentissage 0");
    set_model(c.x, {0.2, 0.3, 0.5}, {{0.1, 0.2, 0.7}, {0.3, 0.3, 0.4}, {1, 0, 0}},
              {emission_row({{4, 0.5}, {9, 0.5}}), emission_row({{4, 1.0}}), emission_row({{9, 1.0}})});
    const Model before = get_model(c.x);
    c.learn({4});
    const Model m = get_model(c.x);
    // Posterior given 4: 0.2 * 0.5 and 0.3 * 1 over 0.4; state 2 cannot emit 4.
    expect_rows_near(m.initial, {0.25, 0.75, 0.0}, 1e-15, "initial");
    EXPECT_EQ(m.transition, before.transition);  // every transition total is 0
    EXPECT_EQ(m.emission[0], emission_row({{4, 1.0}}));
    EXPECT_EQ(m.emission[1], emission_row({{4, 1.0}}));
    EXPECT_EQ(m.emission[2], before.emission[2]);  // never occupied: previous estimate
}

TEST(ChainletTraining, EstimatesStartAsTheModelRows)
{
    // After creation and after clear, a row that the first sequence does not re-estimate blends
    // the model row with itself, and every row stays stochastic.
    Chain c("chainlet 4");
    for (int round = 0; round < 2; round++) {
        const Model m = get_model(c.x);
        EXPECT_EQ(m.initial_estimate, m.initial);
        EXPECT_EQ(m.transition_estimate, m.transition);
        EXPECT_EQ(m.emission_estimate, m.emission);
        c.learn({17});
        for (int i = 0; i < 4; i++)
            for (int j = 0; j < 4; j++) EXPECT_NEAR(c.x->states[i].transition[j], m.transition[(size_t)i][(size_t)j], 1e-15);
        expect_model_stochastic(c.x, 1e-12);
        c.send("clear");
        EXPECT_EQ(c.x->trained, 0);
        EXPECT_EQ(c.x->sequence_length, 1);  // clear keeps the loaded sequence
    }
}

TEST(ChainletTraining, LoadingConvertsAndKeepsCapacity)
{
    Chain c;
    srand(4);
    std::vector<t_atom> av(5);
    atom_setlong(&av[0], 3);
    atom_setlong(&av[1], -4);
    atom_setlong(&av[2], 200);
    atom_setfloat(&av[3], 2.5);
    atom_setsym(&av[4], gensym("do"));
    maxhost::send(c.obj, gensym("list"), 5, av.data());
    ASSERT_EQ(c.x->sequence_length, 5);
    EXPECT_EQ((Ints{c.x->sequence[0], c.x->sequence[1], c.x->sequence[2]}), (Ints{3, 0, 127}));
    EXPECT_EQ(c.x->sequence[1], 0);
    for (int i = 3; i < 5; i++) EXPECT_TRUE(c.x->sequence[i] >= 0 && c.x->sequence[i] < 128);
    EXPECT_EQ(graf_init_vecteur(c.x, 0, av.data()), 0);  // nothing to load
    EXPECT_EQ(c.x->sequence_length, 5);
    c.learn({126, 127, 1});
    EXPECT_EQ((Ints{c.x->sequence[0], c.x->sequence[1], c.x->sequence[2]}), (Ints{126, 127, 1}));

    // Lengths 5, 5, 8: storage grows once, at 8; alternating lengths then allocate nothing.
    c.learn({1, 2, 3, 4, 5});
    c.learn({1, 2, 3, 4, 5});
    EXPECT_EQ(c.x->step_capacity, 5);
    c.learn({1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(c.x->step_capacity, 8);
    const void *alpha = c.x->states[0].alpha, *sequence = c.x->sequence;
    for (int i = 0; i < 10; i++) c.learn(i % 2 ? Ints{1, 2} : Ints{1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(c.x->states[0].alpha, alpha);
    EXPECT_EQ((const void *)c.x->sequence, sequence);
    EXPECT_EQ((Ints{c.x->sequence_length, c.x->step_capacity}), (Ints{2, 8}));
}

TEST(ChainletTraining, TheModelLearnsItsSource)
{
    // Two sources over the same three notes in the same proportions: one alternates 60 and 64
    // with 67 now and then, the other stays on a note for a while.
    const Source alternating{{0.5, 0.5, 0.0},
                             {{0.05, 0.85, 0.1}, {0.85, 0.05, 0.1}, {0.45, 0.45, 0.1}},
                             {emission_row({{60, 1.0}}), emission_row({{64, 1.0}}), emission_row({{67, 1.0}})}};
    const Source sticky{{0.5, 0.5, 0.0},
                        {{0.85, 0.05, 0.1}, {0.05, 0.85, 0.1}, {0.45, 0.45, 0.1}},
                        {emission_row({{60, 1.0}}), emission_row({{64, 1.0}}), emission_row({{67, 1.0}})}};
    std::mt19937 rng(21);
    Chain c("chainlet 3 @apprentissage 4");
    reseed(c, 8);
    for (int i = 0; i < 400; i++) c.learn(sample(alternating, 12, rng));
    double own = 0.0, other = 0.0;
    for (int i = 0; i < 100; i++) {
        own += c.score(sample(alternating, 12, rng));
        other += c.score(sample(sticky, 12, rng));
    }
    EXPECT_LT(own / 100 + 0.5, other / 100) << own / 100 << " vs " << other / 100;
    expect_model_stochastic(c.x, 1e-9);
}

TEST(ChainletTraining, RowsStayStochasticOverThousandsOfLists)
{
    const char *weights[] = {"0", "1e-06", "0.3", "1", "2.5", "1000", "3.4028234663852886e+38"};
    std::mt19937 rng(9);
    for (int n : {2, 6, 17}) {
        Chain c("chainlet " + std::to_string(n));
        reseed(c, (unsigned)n);
        for (int l = 0; l < 3000; l++) {
            if (l % 150 == 0) c.send(std::string("apprentissage ") + weights[(l / 150) % 7]);
            const int length = 1 + (int)(rng() % (l % 3 ? 24 : 256));
            const int base = (int)(rng() % 100), spread = l % 2 ? 128 : 8;
            Ints o;
            for (int t = 0; t < length; t++) o.push_back(l % 2 ? (int)(rng() % 128) : base + (int)(rng() % (unsigned)spread));
            c.learn(o);
            if (l % 500 == 499) expect_model_stochastic(c.x, 1e-9);
        }
        expect_model_stochastic(c.x, 1e-9);
        EXPECT_EQ(c.x->trained, 1);
    }
}

#if MAXLEARN_FPMODE_FLUSHES
namespace {

long subnormals(const Row &r)
{
    long count = 0;
    for (double v : r) count += std::fpclassify(v) == FP_SUBNORMAL;
    return count;
}

long subnormals(const Model &m)
{
    long count = subnormals(m.initial) + subnormals(m.initial_estimate);
    for (size_t i = 0; i < m.transition.size(); i++)
        count += subnormals(m.transition[i]) + subnormals(m.emission[i]) + subnormals(m.transition_estimate[i]) +
                 subnormals(m.emission_estimate[i]);
    return count;
}

}  // namespace

// "list" runs with flush-to-zero: a value below the smallest normal double reads as 0 and no
// result lands there, so the rows of symbols a state stops seeing go from normal values to 0.
TEST(ChainletTraining, SubnormalValuesDoNotSurviveAList)
{
    Chain c("chainlet 2");
    const Row rare = emission_row({{1, 0.5}, {2, 0.5 - 3e-310}, {5, 3e-310}});
    set_model(c.x, {0.5, 0.5}, {{0.5, 0.5}, {0.5, 0.5}}, {rare, rare});
    // Scoring reads the subnormal probability as 0: impossible after a possible first step.
    EXPECT_NEAR(c.score({1, 5}), std::log(2.0), 1e-12);
    c.learn({1, 2, 1});
    EXPECT_EQ(c.x->trained, 1);
    const Model m = get_model(c.x);
    EXPECT_EQ(subnormals(m), 0);
    EXPECT_EQ(m.emission[0][5], 0.0);
    for (int i = 0; i < 2; i++)
        for (int t = 0; t < 3; t++) {
            EXPECT_EQ(std::fpclassify(c.x->states[i].alpha[t]) == FP_SUBNORMAL, false);
            EXPECT_EQ(std::fpclassify(c.x->states[i].beta[t]) == FP_SUBNORMAL, false);
        }
    // The symbol is now impossible: refused by the gate and scored 1000.0.
    c.learn({5, 1});
    EXPECT_EQ(get_model(c.x).emission, m.emission);
    EXPECT_EQ(c.score({5, 1}), 1000.0);
    // The caller's floating-point mode is back: subnormal results on this thread as before.
    volatile double tiny = 3e-310;
    EXPECT_EQ(std::fpclassify(tiny * 0.5), FP_SUBNORMAL);
}

// A long stream that takes the rows through the subnormal range (the plain loops, unguarded, hold
// subnormal values on the way): the object gives the plain loops' bits under the same mode.
TEST(ChainletTraining, LongStreamsGiveThePlainLoopsBitForBitWithFlushToZero)
{
    Chain c("chainlet 5");
    reseed(c, 4);
    Model flushed = get_model(c.x), plain = flushed;
    std::mt19937 rng(2);
    long plain_subnormals = 0;
    for (int l = 0; l < 1200; l++) {
        Ints o;
        for (int t = 0; t < 12; t++) o.push_back((int)(rng() % 6));
        c.learn(o);
        t_maxlearn_fpmode fp;
        maxlearn_fpmode_enter(&fp);
        const bool learned = chainlet_reference::learn(flushed, o, 1.0f);
        maxlearn_fpmode_leave(&fp);
        chainlet_reference::learn(plain, o, 1.0f);
        plain_subnormals += subnormals(plain);
        ASSERT_TRUE(learned);
        const Model got = get_model(c.x);
        ASSERT_EQ(got.emission, flushed.emission) << "list " << l;
        ASSERT_EQ(got.transition, flushed.transition) << "list " << l;
        ASSERT_EQ(got.initial, flushed.initial) << "list " << l;
        ASSERT_EQ(subnormals(got), 0) << "list " << l;
    }
    EXPECT_GT(plain_subnormals, 0);
}
#endif
