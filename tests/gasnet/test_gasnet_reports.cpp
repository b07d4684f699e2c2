// "dump_max" text and "dump_lcd" drawing messages.
#include "gasnet_test_util.h"

TEST(GasnetReports, DumpMaxPrintsSettingsAndRoundedUnits) {
    Gas g;
    set_graph(g.x, {{0, 0, 0, 0}, {0, 0, 0, 0}});
    const double rows[2][4] = {{10, 19.5, 30, 40}, {1, 2, 3.49, 4}};
    for (int r = 0; r < 2; r++) std::copy(rows[r], rows[r] + 4, graf_unit(g.x, store_order(g.x)[r])->vector);
    maxhost::ConsoleCapture console;
    g.send("dump_max");
    std::vector<std::string> expected = {"GNG : 2 / 20", "mu : 5",         "lambda : 2",     "alpha : 0.50",
                                         "beta : 0.25",  "epsilon : 0.30", "epsilon : 0.15", "kappa : 3.00",
                                         " ",            "10 20 30 40",    "1 2 3 4",        " "};
    EXPECT_EQ(console.lines(), expected);
    graf_unit(g.x, 1)->vector[0] = graf_unit(g.x, 2)->vector[0] = 99;
    console.clear();
    systhread_mutex_lock(g.x->mutex);
    g.send("dump_max");  // busy: the previous capture is printed
    systhread_mutex_unlock(g.x->mutex);
    EXPECT_EQ(console.lines(), expected);
    console.clear();
    g.send("dump_max");  // a fresh capture, row by row again
    expected[9] = "99 20 30 40";
    expected[10] = "99 2 3 4";
    EXPECT_EQ(console.lines(), expected);
}

TEST(GasnetReports, DumpLcdDrawsOneColumnPerUnit) {
    Gas g;
    set_graph(g.x, {{127, 63.5, 0.3, 254}, {0, 0, 0, 0}});
    g.send("dump_lcd");
    g.send("dump_lcd");  // both give one drawing
    maxhost::run_queue();
    auto sent = g.take();
    ASSERT_EQ(sent.size(), 2u + 8u);
    EXPECT_EQ(sent[0].outlet, 1);
    EXPECT_EQ(sent[0].selector + " " + sent[1].selector, "clear size");
    EXPECT_EQ(sent[1].args, (Longs{200, 200}));
    long c = store_order(g.x)[0] == 1 ? 0 : 1;  // column of unit 1
    Longs colours = {128, 64, 0, 255};
    for (long j = 0; j < 4; j++) {
        EXPECT_EQ(sent[2 + c * 4 + j].args, (Longs{c * 10, j * 50, c * 10 + 10, j * 50 + 50, colours[j]}));
        EXPECT_EQ(sent[2 + (1 - c) * 4 + j].args.back(), 0);
    }
}

TEST(GasnetReports, DrawingWaitsForANewVectorSizeToSettle) {
    Gas g("gasnet 100 @lcd 100");
    std::string text = "learn";
    for (int i = 0; i < 256; i++) text += " 1";
    g.send(text);
    g.send("dump_lcd");
    maxhost::advance(999);
    EXPECT_TRUE(g.take().empty());
    maxhost::advance(1);
    g.send("dump_lcd");
    maxhost::run_queue();
    auto sent = g.take();
    ASSERT_EQ(sent.size(), 2u + 3u * 256u);  // three units after the first step
    EXPECT_EQ(sent[1].args, (Longs{200, 512}));  // cells of at least 2 pixels
}

TEST(GasnetReports, LongRowsArePrintedWhole) {
    Gas g("gasnet 2 100000");
    set_graph(g.x, {std::vector<double>(40, 74640)});  // a lone unit, as pruning can leave
    maxhost::ConsoleCapture console;
    g.send("dump_max");
    std::string row = "74640";
    for (int i = 1; i < 40; i++) row += " 74640";
    auto lines = console.lines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[9], row);
}
