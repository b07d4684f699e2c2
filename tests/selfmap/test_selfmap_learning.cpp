// "learn" and "list"/"change": input handling, the winner, the neighbourhood and the step against
// their closed forms, agreement with the reference loops, self-organisation, and the pass-through.
#include "selfmap_test_util.h"

#include <algorithm>
#include <cfenv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>

static Reals random_vector(std::mt19937 &rng, long size, long value_max) {
    Reals v((size_t)size);
    for (double &e : v) e = (double)(rng() % (unsigned long)(value_max + 1));
    return v;
}

TEST(SelfmapLearning, InputHandlingAndRefusedLists) {
    Map m;
    m.send("learn 1 2 3");  // a new size: a fresh map of 3 components, then the learning with t = 1
    EXPECT_EQ((Longs{m.x->vector_size, m.x->learn_count}), (Longs{3, 1}));
    long w = -1;
    for (long i = 0; i < 50; i++)
        if (m.unit(i) == Reals{1, 2, 3}) w = i;
    EXPECT_GE(w, 0) << "the winner takes the input";

    m.set_units(std::vector<Reals>(50, Reals{50, 50, 50}));
    m.send("learn -5 300 7");  // clamped: every unit is at the same distance, so unit 0 wins
    EXPECT_EQ(m.unit(0), (Reals{0, 127, 7}));
    m.set_units(std::vector<Reals>(50, Reals{50, 50, 50}));
    srand(9);
    m.send("learn 1 2.5 3");
    const double drawn = m.unit(0)[1];
    EXPECT_TRUE(drawn >= 0 && drawn <= 127 && drawn == std::floor(drawn)) << drawn;

    std::vector<Reals> before = m.units();
    m.send("learn");  // empty: ignored, nothing reinitialised
    m.send(list_text("learn", Longs(257, 7)));  // longer than a unit: ignored
    EXPECT_EQ((Longs{m.x->vector_size, m.x->learn_count}), (Longs{3, 3}));
    EXPECT_EQ(m.units(), before);
    m.send(list_text("learn", Longs(256, 7)));
    EXPECT_EQ((Longs{m.x->vector_size, m.x->learn_count}), (Longs{256, 1}));
    m.send("dump_lcd");  // cells stay drawable
    maxhost::run_queue();
    EXPECT_EQ(m.take().size(), 2u + 50u * 256u);
}

TEST(SelfmapLearning, WinnerIsTheNearestAndTheLowestOfEquals) {
    Map m("selfmap 10");
    std::vector<Reals> units(10, Reals{100, 100, 100, 100});
    units[6] = {10, 20, 30, 43};  // distance 3, like unit 3 below
    units[3] = {13, 20, 30, 40};
    units[8] = {10, 20, 30, 44};
    m.set_units(units);
    const Reals v = {10, 20, 30, 40};
    EXPECT_EQ(carte_gagnant(m.x, v.data()), 3);
    units[2] = {10, 17, 30, 40};
    m.set_units(units);
    EXPECT_EQ(carte_gagnant(m.x, v.data()), 2);
    units[9] = v;
    m.set_units(units);
    EXPECT_EQ(carte_gagnant(m.x, v.data()), 9);

    // Distances are compared, not sums: 2^52 + 1 and 2^52 have the same root, 2^26, so the first
    // unit wins although its sum is larger; on short vectors and on screened ones.
    for (long size : {2L, 16L}) {
        std::vector<Reals> tie(10, Reals((size_t)size, 1e9));
        tie[4].assign((size_t)size, 0.0);
        tie[4][0] = 0x1p26;
        tie[4][1] = 1.0;
        tie[7].assign((size_t)size, 0.0);
        tie[7][0] = 0x1p26;
        m.set_units(tie);
        const Reals origin((size_t)size, 0.0);
        EXPECT_EQ(carte_gagnant(m.x, origin.data()), 4) << size;
        tie[7][0] = std::nextafter(0x1p26, 0.0);
        m.set_units(tie);
        EXPECT_EQ(carte_gagnant(m.x, origin.data()), 7) << size;
    }

    // Long vectors are screened with a reordered sum: near-ties (a component one unit in the last
    // place apart, equal sums in other orders) must still go as the reference loop decides, with the
    // AVX2 kernels and with the portable ones.
    std::mt19937 rng(21);
    for (long size : {16L, 17L, 33L, 256L})
      for (long wide : {1L, 0L}) {
        selfmap_wide_kernels(wide);
        for (int trial = 0; trial < 200; trial++) {
            Reals base(size);
            for (double &e : base) e = (double)(rng() % 128) + (double)(rng() % 1000) / 1000.0;
            std::vector<Reals> near(10, base);
            for (Reals &u : near) {
                size_t j = rng() % (size_t)size;
                switch (rng() % 4) {
                case 0: u[j] = std::nextafter(u[j], 200.0); break;
                case 1: u[j] = std::nextafter(u[j], 0.0); break;
                case 2: std::swap(u[j], u[(j + 1) % (size_t)size]); break;
                default: u[j] += 1.0;
                }
            }
            m.set_units(near);
            Reals v = base;
            v[rng() % (size_t)size] += 0.5;
            ASSERT_EQ(carte_gagnant(m.x, v.data()), Transcription(m.x).carte_gagnant(v)) << size << " " << trial;
        }
      }
    long had = selfmap_wide_kernels(0);
    EXPECT_EQ(selfmap_wide_kernels(had), 0) << "the switch turns the AVX2 kernels off";
#if defined(__linux__) && defined(__x86_64__)
    // And on: wherever the processor and the system offer AVX2 and FMA, as Linux lists them.
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line) && line.rfind("flags", 0) != 0) {
    }
    std::istringstream words(line);
    std::set<std::string> flags{std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
    selfmap_wide_kernels(1);
    EXPECT_EQ(selfmap_wide_kernels(1), (long)(flags.count("avx2") && flags.count("fma")));
#endif
    selfmap_wide_kernels(1);
}

// sigma = R^(1 - t/H) and h = exp(-(i - w)^2 / (2 sigma^2)), the closed forms, against the object.
static double closed_sigma(double r, double t, double h) { return std::pow(r, 1.0 - t / h); }
static double closed_factor(long i, long w, double sigma) {
    return std::exp(-(double)((i - w) * (i - w)) / (2.0 * sigma * sigma));
}

TEST(SelfmapLearning, NeighbourhoodShrinksToOneAtTheHorizon) {
    Map m;
    for (long t : {0L, 1L, 30L, 59L, 60L}) {
        m.x->learn_count = t;
        double sigma = closed_sigma(25, (double)t, 60);
        for (auto [w, i] : {std::pair{0L, 0L}, {10, 11}, {10, 8}, {49, 0}, {20, 45}, {3, 1}}) {
            double h = carte_influence(m.x, w, i);
            EXPECT_NEAR(h, closed_factor(i, w, sigma), 1e-12 * closed_factor(i, w, sigma) + 1e-300) << t << " " << w << " " << i;
            EXPECT_EQ(h, carte_influence(m.x, i, w));
        }
        EXPECT_EQ(carte_influence(m.x, 7, 7), 1.0);
    }
    EXPECT_NEAR(carte_influence(m.x, 10, 11), std::exp(-0.5), 1e-15);  // t = H: sigma is 1
    m.x->learn_count = 0;
    EXPECT_NEAR(carte_influence(m.x, 10, 11), std::exp(-1.0 / 1250.0), 1e-15);  // t = 0: sigma = R

    m.send("influence 1");  // T = H / ln 1 is infinite: sigma stays 1
    for (long t : {0L, 1L, 59L, 60L}) {
        m.x->learn_count = t;
        EXPECT_EQ(carte_influence(m.x, 4, 5), std::exp(-0.5)) << t;
        EXPECT_EQ(carte_influence(m.x, 4, 2), std::exp(-2.0)) << t;
    }
}

// The fraction of the way from u to v that each unit moved.
static Reals fractions(const std::vector<Reals> &before, const std::vector<Reals> &after, const Reals &v, size_t j) {
    Reals f;
    for (size_t i = 0; i < before.size(); i++) f.push_back((after[i][j] - before[i][j]) / (v[j] - before[i][j]));
    return f;
}

TEST(SelfmapLearning, StepAndNeighbourhoodBeforeAndAfterTheHorizon) {
    const Reals v = {100, 100, 100, 100};
    const std::vector<Reals> start(20, Reals{0, 10, 20, 30});
    for (long influence : {10L, 1L}) {
        SCOPED_TRACE(influence);
        Map m("selfmap 20 3 127 @pas 0.5 @influence " + std::to_string(influence));
        for (long t = 1; t <= 5; t++) {
            m.set_units(start);
            m.x->units[7][0] = 1;  // unit 7 is the nearest
            std::vector<Reals> before = m.units();
            m.learn(v);
            EXPECT_EQ(m.x->learn_count, std::min(t, 3L));
            double alpha = t < 3 ? 0.5 : 0.5 / std::exp(1.0);  // the step drops once, at the horizon
            double sigma = influence == 1 ? 1.0 : closed_sigma(10, (double)std::min(t, 3L), 3);
            Reals f = fractions(before, m.units(), v, 1);
            for (long i = 0; i < 20; i++)
                EXPECT_NEAR(f[(size_t)i], alpha * closed_factor(i, 7, sigma), 1e-12) << "t " << t << ", unit " << i;
        }
    }
    // Defaults, first learning: the winner takes the input exactly, two places away moves by
    // exp(-4 / (2 sigma^2)) with sigma = 25^(1 - 1/60).
    Map d;
    d.set_units(std::vector<Reals>(50, Reals{0, 0, 0, 0}));
    d.x->units[30][0] = 1;
    std::vector<Reals> before = d.units();
    d.learn({90, 80, 70, 60});
    EXPECT_EQ(d.unit(30), (Reals{90, 80, 70, 60}));
    EXPECT_NEAR(fractions(before, d.units(), {90, 80, 70, 60}, 2)[32], closed_factor(32, 30, closed_sigma(25, 1, 60)), 1e-12);
}

// Far from the winner the step is tiny, or nothing once the Gaussian underflows: a component at 0
// (or nearly) still moves off it by that tiny step, as the plain expression moves it.
TEST(SelfmapLearning, FarUnitsMoveByTinySteps) {
    for (long size : {4L, 20L})
        for (long wide : {1L, 0L}) {
            SCOPED_TRACE(std::to_string(size) + (wide ? " components, AVX2" : " components, portable"));
            selfmap_wide_kernels(wide);
            Map m("selfmap 50 1 @pas 0.75");  // horizon 1: sigma 1 and the step dropped from the start
            Reals v((size_t)size, 50.0);
            m.learn(v);
            std::vector<Reals> units(50, Reals((size_t)size, 100.0));
            units[0] = v;
            const std::pair<long, long> low[] = {{20, 0}, {29, 1}, {38, 0}, {49, 0}};  // unit, component
            for (auto [i, j] : low) units[(size_t)i][(size_t)j] = j ? 0x1p-700 : 0.0;
            m.set_units(units);
            m.learn(v);
            for (auto [i, j] : low) {  // exp(-38^2 / 2) is subnormal, exp(-39^2 / 2) is 0
                double a = (0.75 / std::exp(1.0)) * carte_influence(m.x, 0, i);
                for (size_t k = 0; k < (size_t)size; k++)
                    EXPECT_EQ(m.unit(i)[k], units[(size_t)i][k] + a * (50.0 - units[(size_t)i][k])) << i << "," << k;
                EXPECT_EQ(m.unit(i)[(size_t)j] > units[(size_t)i][(size_t)j], i < 49) << i;
            }
            EXPECT_LT(m.unit(20)[0], 1e-80);
        }
    selfmap_wide_kernels(1);
}

// A new radius takes effect at the next learning: after learning with a wide one, "influence 1"
// leaves the units from 39 places on exactly where they are (their factor is 0).
TEST(SelfmapLearning, InfluenceChangeTakesEffectAtTheNextLearning) {
    Map m("selfmap 50 1000 @influence 50");
    m.learn({1, 2, 3, 4});
    std::vector<Reals> units(50, Reals{120, 120, 120, 120});
    units[0] = {1, 2, 3, 4};
    m.set_units(units);
    m.learn({1, 2, 3, 5});
    EXPECT_NEAR(m.unit(49)[0], 120 - 119 * closed_factor(49, 0, closed_sigma(50, 2, 1000)), 1e-9);  // a wide step
    m.set_units(units);
    m.send("influence 1");
    m.learn({1, 2, 3, 5});
    for (long i = 39; i < 50; i++) EXPECT_EQ(m.unit(i), units[(size_t)i]) << i;
    EXPECT_LT(m.unit(2)[0], 120.0);
}

// vecteur_modifier on its own: the step pas before the horizon, pas / e at it, times h.
TEST(SelfmapLearning, VecteurModifier) {
    Map m("selfmap 5 10 @pas 0.5");
    Reals u = {10, 20, 30, 40};
    const Reals v = {20, 20, 0, 41};
    for (long t : {0L, 9L, 10L}) {
        m.x->learn_count = t;
        Reals moved = u;
        vecteur_modifier(m.x, moved.data(), v.data(), 0.25);
        double a = (t < 10 ? 0.5 : 0.5 / std::exp(1.0)) * 0.25;
        for (size_t j = 0; j < 4; j++) EXPECT_EQ(moved[j], u[j] + a * (v[j] - u[j])) << t << " " << j;
    }
    vecteur_modifier(m.x, nullptr, v.data(), 1.0);  // nothing to move
    vecteur_modifier(m.x, u.data(), nullptr, 1.0);
    EXPECT_EQ(u, (Reals{10, 20, 30, 40}));
}

TEST(SelfmapLearning, InfluenceOneNeverTraps) {
    Map m("selfmap 10 5 @influence 1");
    std::mt19937 rng(2);
#if defined(__GLIBC__) && defined(FE_DIVBYZERO)
    feclearexcept(FE_ALL_EXCEPT);
    feenableexcept(FE_DIVBYZERO | FE_INVALID);  // a division by zero now stops the test
#endif
    for (int i = 0; i < 20; i++) m.learn(random_vector(rng, 4, 127));
#if defined(__GLIBC__) && defined(FE_DIVBYZERO)
    fedisableexcept(FE_DIVBYZERO | FE_INVALID);
#endif
    for (const Reals &u : m.units())
        for (double e : u) EXPECT_TRUE(e >= 0 && e <= 127) << e;
    EXPECT_EQ(m.x->learn_count, 5);
}

// The object against the reference loops on the same map and inputs: bit for bit with pow(x, 2.0)
// as GCC compiles it (x * x); within 1e-12 of a true library pow, which differs from x * x in the
// last bit for about one value in a thousand.
TEST(SelfmapLearning, MatchesTheReferenceLoops) {
    struct Case {
        const char *box;
        long size;
        int steps;
    };
    for (const Case &c : {Case{"selfmap", 4, 400}, Case{"selfmap 100 60", 256, 150}, Case{"selfmap 7 3 1000 @pas 0.7", 2, 200},
                          Case{"selfmap 30 20 @influence 1", 5, 100}, Case{"selfmap 64 1000 50 @influence 100", 17, 300},
                          Case{"selfmap 40 10 @pas 0", 20, 30}}) {
        for (int variant = 0; variant < 3; variant++) {
            bool library_pow = variant == 2;
            selfmap_wide_kernels(variant != 1);
            SCOPED_TRACE(std::string(c.box) + (variant == 1 ? ", portable kernels" : library_pow ? ", library pow" : ""));
            Map m(c.box);
            std::mt19937 rng(7);
            m.learn(random_vector(rng, c.size, m.x->value_max));  // sets the size
            Transcription ref(m.x);
            ref.library_pow = library_pow;
            for (int step = 0; step < c.steps; step++) {
                Reals v = random_vector(rng, c.size, m.x->value_max);
                if (step % 7 == 0) {  // a unit, rounded: ties are likely
                    Reals u = m.unit((long)(rng() % (unsigned long)m.x->map_size));
                    for (size_t j = 0; j < v.size(); j++) v[j] = std::round(u[j]);
                }
                m.learn(v);
                ref.learn(v);
            }
            EXPECT_EQ(m.x->learn_count, ref.learn_count);
            double worst = 0;
            long differing = 0;
            for (long i = 0; i < m.x->map_size; i++)
                for (long j = 0; j < c.size; j++) {
                    double a = m.x->units[i][j], b = ref.units[(size_t)i][(size_t)j];
                    worst = std::max(worst, std::fabs(a - b));
                    differing += std::memcmp(&a, &b, sizeof a) != 0;
                }
            if (!library_pow) {
                EXPECT_EQ(differing, 0) << "largest difference " << worst;
            }
            EXPECT_LE(worst, 1e-12);
        }
    }
    selfmap_wide_kernels(1);
}

// Scalars drawn uniformly from 0..value_max: the chain orders itself, one end low, the other high,
// and spreads over the range.
TEST(SelfmapLearning, ScalarsOrderTheChain) {
    for (unsigned seed : {1u, 2u, 3u}) {
        Map m("selfmap 20 300 127");
        srand(seed);
        std::mt19937 rng(seed);
        for (int i = 0; i < 3000; i++) m.learn({(double)(rng() % 128)});
        Reals chain;
        for (long i = 0; i < 20; i++) chain.push_back(m.unit(i)[0]);
        bool up = chain.front() < chain.back();
        for (size_t i = 1; i < chain.size(); i++) EXPECT_TRUE(up ? chain[i - 1] < chain[i] : chain[i - 1] > chain[i]) << seed << " at " << i;
        double low = std::min(chain.front(), chain.back()), high = std::max(chain.front(), chain.back());
        EXPECT_LT(low, 16.0) << seed;
        EXPECT_GT(high, 111.0) << seed;
        for (size_t i = 1; i < chain.size(); i++) EXPECT_LT(std::fabs(chain[i] - chain[i - 1]), 16.0) << seed;
    }
}

// Points along a curve: the chain follows it (no longer than the curve, no wide jumps), and the
// two nearest units of a point are almost always neighbours in the chain (low topographic error).
TEST(SelfmapLearning, CurveKeepsNeighboursClose) {
    Map m("selfmap 30 400 127");
    srand(4);
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> along(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 1.5);
    auto curve = [](double s) { return Reals{10 + 107 * s, 64 + 50 * std::sin(6.0 * s)}; };
    auto point = [&] {
        Reals p = curve(along(rng));
        for (double &e : p) e = std::clamp(std::round(e + noise(rng)), 0.0, 127.0);
        return p;
    };
    for (int i = 0; i < 5000; i++) m.learn(point());

    auto dist = [](const Reals &a, const Reals &b) { return std::hypot(a[0] - b[0], a[1] - b[1]); };
    double curve_length = 0, chain_length = 0, widest = 0;
    for (int k = 1; k <= 1000; k++) curve_length += dist(curve((k - 1) / 1000.0), curve(k / 1000.0));
    std::vector<Reals> units = m.units();
    for (size_t i = 1; i < units.size(); i++) {
        chain_length += dist(units[i - 1], units[i]);
        widest = std::max(widest, dist(units[i - 1], units[i]));
    }
    EXPECT_LT(chain_length, 1.2 * curve_length);
    EXPECT_LT(widest, 4 * curve_length / 29);
    int errors = 0, points = 1000;
    double quantisation = 0;
    for (int k = 0; k < points; k++) {
        Reals p = point();
        std::vector<std::pair<double, long>> by_distance;
        for (long i = 0; i < 30; i++) by_distance.push_back({dist(units[(size_t)i], p), i});
        std::sort(by_distance.begin(), by_distance.end());
        errors += std::abs(by_distance[0].second - by_distance[1].second) != 1;
        quantisation += by_distance[0].first / points;
    }
    EXPECT_LT(errors, points / 20) << "topographic error";
    EXPECT_LT(quantisation, 5.0);
}

TEST(SelfmapLearning, ListAndChangePassThrough) {
    Map m("selfmap 5 @mutation 100");
    m.send("list 5 6 7");  // nothing learned: echoed
    m.send("learn 1 2 3 4");
    m.send("clear");
    m.send("change 5 6 2.7");  // nothing learned since the clear: echoed, as integers
    auto sent = m.take();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].args, (Longs{5, 6, 7}));
    EXPECT_EQ(sent[1].args, (Longs{5, 6, 2}));

    m.send("learn 1 2 3 4");
    std::vector<Reals> units;
    for (long i = 0; i < 5; i++) units.push_back({10.0 * i, 10.0 * i + 1, 10.0 * i + 2, 10.0 * i + 2.5});
    m.set_units(units);
    for (const char *selector : {"list", "change"}) {
        srand(5);
        m.send(std::string(selector) + " 0 0 0 0 0 0");  // longer than the vector: components cycle
    }
    sent = m.take();
    long b = sent[0].args[0];
    EXPECT_EQ(sent[0].args, (Longs{b, b + 1, b + 2, b + 3, b, b + 1}));
    EXPECT_EQ(sent[1].args, sent[0].args);
    std::set<long> firsts;
    for (int i = 0; i < 50; i++) m.send("list 0");
    for (const Sent &s : m.take()) firsts.insert(s.args[0]);
    EXPECT_EQ(firsts, (std::set<long>{0, 10, 20, 30, 40}));  // a random unit each time

    Longs big(1000);
    for (size_t i = 0; i < big.size(); i++) big[i] = -1 - (long)i;
    m.send(list_text("list", big));  // longer than the output buffer: whole, every element replaced
    sent = m.take();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_EQ(sent[0].args.size(), 1000u);
    for (size_t i = 0; i < 1000; i++) ASSERT_EQ(sent[0].args[i], sent[0].args[0] + (long)(i % 4)) << i;
    m.send("mutation 0");
    m.send(list_text("change", big));
    m.send("list 1 -2 3");
    sent = m.take();
    EXPECT_EQ(sent[0].args, big);
    EXPECT_EQ(sent[1].args, (Longs{1, -2, 3}));

    m.send("mutation 40");  // each element replaced with a chance of 40 in 100
    srand(8);
    m.send(list_text("list", big));
    sent = m.take();
    long replaced = 0, base = -1;
    for (size_t i = 0; i < 1000; i++) {
        long e = sent[0].args[i];
        if (e == big[i]) continue;
        replaced++;
        if (base < 0) base = e - (long)(i % 4);
        ASSERT_EQ(e, base + (long)(i % 4)) << i;  // all from one unit
    }
    EXPECT_EQ(base % 10, 0);
    EXPECT_TRUE(replaced > 330 && replaced < 470) << replaced;
}
