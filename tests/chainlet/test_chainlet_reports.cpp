// "dump_max" text and "dump_lcd" drawing messages.
#include "chainlet_fixture.h"

#include <cstdio>

namespace {

std::string line(const std::string &head, long i, long j, double v)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, "%s %ld %ld : %f", head.c_str(), i, j, v);
    return buf;
}

// The colour of a cell by the drawing's table, v = 50 b held as a 32-bit float (so 0.002 gives
// 0.1f, a little above 0.1).
long table_colour(double b)
{
    const double v = (float)(b * 10.0 * 5.0);
    if (v <= 0.1) return 0;
    if (v <= 1.5) return 245;
    if (v < 2.5) return 246;
    for (long n = 3; n <= 10; n++)
        if (v < n + 0.5) return 244 + n;
    return 255;
}

}  // namespace

TEST(ChainletReports, DumpMaxPrintsTheModel)
{
    Chain c("chainlet 2 @apprentissage 0.5");
    set_model(c.x, {0.25, 0.75}, {{0.5, 0.5}, {0.125, 0.875}},
              {emission_row({{0, 0.5}, {127, 0.5}}), emission_row({{3, 1.0 / 3}, {4, 2.0 / 3}})});
    maxhost::ConsoleCapture console;
    c.send("dump_max");
    Lines want = {"Taille MMC : 2", "Taille vecteur : 0", "Apprentissage : 0.500000", "Initialisation 0 : 0.250000",
                  "Initialisation 1 : 0.750000", "Transition 0 0 : 0.500000", "Transition 0 1 : 0.500000",
                  "Transition 1 0 : 0.125000", "Transition 1 1 : 0.875000"};
    for (long i = 0; i < 2; i++)
        for (long k = 0; k < 128; k++) want.push_back(line("Distribution", i, k, c.x->states[i].emission[k]));
    EXPECT_EQ(console.lines(), want);
    EXPECT_EQ(want[9 + 128 + 4], "Distribution 1 4 : 0.666667");

    // Once per 1000 ms: a dump in the quiet period prints nothing and does not restart it.
    console.clear();
    maxhost::advance(600);
    c.send("dump_max");
    maxhost::advance(399);
    c.send("dump_max");
    EXPECT_TRUE(console.lines().empty());
    maxhost::advance(1);
    c.learn({3, 4, 4});
    c.send("dump_max");
    ASSERT_EQ(console.lines().size(), want.size());
    EXPECT_EQ(console.lines()[1], "Taille vecteur : 3");
    maxhost::advance(1000);
}

TEST(ChainletReports, DumpMaxPrintsTenRowsOfALargeModel)
{
    Chain c("chainlet 12");
    maxhost::ConsoleCapture console;
    c.send("dump_max");
    const Lines lines = console.lines();
    ASSERT_EQ(lines.size(), 3u + 12u + 10u * (12u + 128u));
    auto count = [&](const std::string &head) {
        long k = 0;
        for (const std::string &l : lines) k += l.rfind(head, 0) == 0;
        return k;
    };
    EXPECT_EQ((std::vector<long>{count("Initialisation "), count("Transition "), count("Distribution ")}),
              (std::vector<long>{12, 120, 1280}));
    EXPECT_EQ(lines[15], line("Transition", 0, 0, c.x->states[0].transition[0]));
    EXPECT_EQ(lines.back(), line("Distribution", 9, 127, c.x->states[9].emission[127]));
    maxhost::advance(1000);
}

TEST(ChainletReports, DumpLcdDrawsTheEmissionMatrix)
{
    Chain c;
    const double probabilities[] = {0.001, 0.002, 0.0021, 0.03, 0.0301, 0.049, 0.05, 0.07, 0.09, 0.1, 0.2, 0.208, 0.21, 1.0};
    std::vector<Row> emission(6, Row(128, 0.0));
    for (size_t i = 0; i < 6; i++)
        for (size_t k = 0; k < 128; k++) emission[i][k] = probabilities[(i * 128 + k) % 14];
    set_model(c.x, Row(6, 1.0 / 6), std::vector<Row>(6, Row(6, 1.0 / 6)), emission);
    c.send("dump_lcd");
    c.send("dump_lcd");  // one drawing for both
    maxhost::run_queue();
    auto sent = c.take();
    ASSERT_EQ(sent.size(), 2u + 6u * 128u);
    EXPECT_EQ(sent[0].outlet, 2);
    EXPECT_EQ(sent[0].selector + " " + sent[1].selector + " " + sent[2].selector, "clear size paintrect");
    EXPECT_TRUE(sent[0].args.empty());
    EXPECT_EQ(sent[1].args, (std::vector<double>{384, 150}));
    EXPECT_EQ(sent[2 + 2 * 128 + 10].args, (std::vector<double>{30, 50, 33, 75, (double)table_colour(emission[2][10])}));
    for (size_t i = 0; i < 6; i++)
        for (size_t k = 0; k < 128; k++) {
            const Sent &s = sent[2 + i * 128 + k];
            ASSERT_EQ(s.args.size(), 5u);
            EXPECT_EQ(s.args[0] + s.args[2], 6.0 * (double)k + 3.0);
            EXPECT_EQ(s.args[4], (double)table_colour(emission[i][k])) << emission[i][k];
        }
    EXPECT_EQ((std::vector<long>{chainlet_colour(0.03), chainlet_colour(0.05), chainlet_colour(0.2), chainlet_colour(0.21),
                                 chainlet_colour(0.001), chainlet_colour(0.0021), chainlet_colour(1.0)}),
              (std::vector<long>{245, 247, 254, 255, 0, 245, 255}));

    for (auto [box, size] : {std::pair{"chainlet 50 @lcd 400", std::vector<double>{1152, 400}},
                             {"chainlet @lcd 255", {384, 252}}, {"chainlet 7 @lcd 399", {1152, 399}}}) {
        Chain d(box);
        d.send("dump_lcd");
        maxhost::run_queue();
        auto s = d.take();
        ASSERT_EQ(s.size(), 2u + 128u * (size_t)d.x->state_count) << box;
        EXPECT_EQ(s[1].args, size) << box;
        EXPECT_EQ(s.back().args[2], size[0]) << box;
        EXPECT_EQ(s.back().args[3], size[1]) << box;
    }
}
