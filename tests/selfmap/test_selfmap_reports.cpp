// "dump_max" text and its lock-out, "dump_lcd" drawing messages.
#include <cmath>
#include "selfmap_test_util.h"

TEST(SelfmapReports, DumpMaxPrintsSettingsAndRoundedUnitsOnceASecond) {
    Map m("selfmap 3 40");
    m.set_units({{10, 19.5, 30, 40}, {1, 2, 3.49, 4}, {0, 127, 126.5, 63.5}});
    maxhost::ConsoleCapture console;
    m.send("dump_max");
    const Lines expected = {"Taille carte : 3", "Apprentissages /40 : 0", "Rayon d'influence : 1", "Pas d'apprentissage : 1.00",
                            " ",  "1 : 10 20 30 40",  "2 : 1 2 3 4",  "3 : 0 127 127 64",  " "};
    EXPECT_EQ(console.lines(), expected);
    console.clear();
    m.send("dump_max");  // within the second: dropped
    maxhost::advance(999);
    m.send("dump_max");
    EXPECT_TRUE(console.lines().empty());
    maxhost::advance(1);
    m.send("pas 0.125");
    m.send("influence 7");
    m.send("learn 5 6");
    m.send("learn 5 6");
    m.send("dump_max");  // a second has passed
    Lines lines = console.lines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
              (Lines{"Taille carte : 3", "Apprentissages /40 : 2", "Rayon d'influence : 7", "Pas d'apprentissage : 0.12", " "}));
    EXPECT_EQ(lines[5].substr(0, 4), "1 : ");
    EXPECT_EQ(lines[8], " ");

    console.clear();
    maxhost::advance(1000);
    m.send("clear");
    m.send("dump_max");
    EXPECT_EQ(console.lines()[1], "Apprentissages /40 : 0");
}

TEST(SelfmapReports, DumpOfDefaultsAndOfLongVectors) {
    Map m;
    maxhost::ConsoleCapture console;
    m.send("dump_max");
    Lines lines = console.lines();
    ASSERT_EQ(lines.size(), 4u + 1u + 50u + 1u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
              (Lines{"Taille carte : 50", "Apprentissages /60 : 0", "Rayon d'influence : 25", "Pas d'apprentissage : 1.00", " "}));
    for (long i = 0; i < 50; i++) {
        Longs v;
        for (double e : m.unit(i)) v.push_back((long)e);
        EXPECT_EQ(lines[5 + (size_t)i], std::to_string(i + 1) + " : " + list_text("", v).substr(1));
    }
    EXPECT_EQ(lines.back(), " ");

    // 256 components write more than the 100-byte text block; the host enlarges it, so every row
    // comes out whole, never cut in the middle of a number.
    m.send(list_text("learn", Longs(256, 100)));
    maxhost::advance(1000);
    console.clear();
    m.send("dump_max");
    lines = console.lines();
    ASSERT_EQ(lines.size(), 56u);
    for (long i = 0; i < 50; i++) {
        Longs v;
        for (double e : m.unit(i)) v.push_back(std::lround(e));
        EXPECT_EQ(lines[5 + (size_t)i], std::to_string(i + 1) + " : " + list_text("", v).substr(1));
    }
}

TEST(SelfmapReports, DumpLcdDrawsOneColumnPerUnit) {
    Map m("selfmap 4");
    m.set_units({{127, 63.5, 0.3, 254}, {0, 0.49, 0.5, 126}, {1, 2, 3, 4}, {5, 6, 7, 8}});
    m.send("dump_lcd");
    m.send("dump_lcd");
    m.send("dump_lcd");  // one drawing for all three
    EXPECT_TRUE(m.take().empty());  // nothing before the main thread runs
    maxhost::run_queue();
    auto sent = m.take();
    ASSERT_EQ(sent.size(), 2u + 16u);
    for (const Sent &s : sent) EXPECT_EQ(s.outlet, 1);
    EXPECT_EQ(sent[0].selector + " " + sent[1].selector, "clear size");
    EXPECT_TRUE(sent[0].args.empty());
    EXPECT_EQ(sent[1].args, (Longs{148, 148}));  // cw = 150 / 4 = 37, ch = 37
    const Longs colours = {128, 64, 0, 255, 0, 0, 1, 127, 1, 2, 3, 4, 5, 6, 7, 8};
    for (long i = 0; i < 4; i++)
        for (long j = 0; j < 4; j++) {
            const Sent &s = sent[2 + (size_t)(i * 4 + j)];
            EXPECT_EQ(s.selector, "paintrect");
            EXPECT_EQ(s.args, (Longs{i * 37, j * 37, i * 37 + 37, j * 37 + 37, colours[(size_t)(i * 4 + j)]})) << i << "," << j;
        }
}

TEST(SelfmapReports, CellSizes) {
    Map plain;
    plain.send("dump_lcd");
    maxhost::run_queue();
    auto sent = plain.take();
    ASSERT_EQ(sent.size(), 2u + 200u);
    EXPECT_EQ(sent[1].args, (Longs{150, 148}));
    EXPECT_EQ(Longs(sent[2].args.begin(), sent[2].args.begin() + 4), (Longs{0, 0, 3, 37}));
    EXPECT_EQ(sent[2].args[4], std::lround(plain.unit(0)[0] / 127 * 128));
    EXPECT_EQ(sent.back().args, (Longs{147, 111, 150, 148, std::lround(plain.unit(49)[3] / 127 * 128)}));

    Map wide("selfmap 100 @lcd 150");  // cells of 1 pixel are raised to 2
    wide.send(list_text("learn", Longs(256, 0)));
    wide.send("dump_lcd");
    maxhost::run_queue();
    sent = wide.take();
    ASSERT_EQ(sent.size(), 2u + 100u * 256u);
    EXPECT_EQ(sent[1].args, (Longs{200, 512}));
    EXPECT_EQ(Longs(sent.back().args.begin(), sent.back().args.begin() + 4), (Longs{198, 510, 200, 512}));
    wide.send("lcd 800");
    wide.send("dump_lcd");
    maxhost::run_queue();
    EXPECT_EQ(wide.take()[1].args, (Longs{800, 768}));
}
