// "int" on two threads while "bang", "go", "clear" and "dump_max" run on another and the clock of
// the dump quiet period fires on a fourth: nothing may tear, and ThreadSanitizer must stay quiet.
#include "echoseq_fixture.h"

#include <atomic>
#include <thread>

TEST(EchoseqConcurrency, LearningWhileWalkingClearingAndDumping)
{
    maxhost::ConsoleCapture console;
    Echoseq e("echoseq @slice 2 @threshold 4 @straight 50");
    std::atomic<int> running{3};

    auto learner = [&](long base) {
        for (int i = 0; i < 20000; i++)
            e.send("int", base + i % 6);
        running--;
    };
    std::thread a(learner, 100), b(learner, 200);
    std::thread c([&] {
        for (int i = 0; running > 1; i++) {
            e.send("bang");
            if (i % 7 == 0)
                e.send("go", i % 50);
            if (i % 500 == 0)
                e.send("clear");
            if (i % 300 == 0)
                e.send("dump_max", i % 3 == 0 ? -1 : 0);
        }
        running--;
    });
    while (running > 0)
        maxhost::advance(1000);  // ends dump quiet periods on this thread
    a.join();
    b.join();
    c.join();

    auto learned = [](long v) { return (v >= 100 && v < 106) || (v >= 200 && v < 206); };
    long slices = 0;
    for (const std::string &s : e.take()) {
        const std::string text = s.substr(2);
        if (s[0] == '0') {
            EXPECT_TRUE(learned(std::stol(text))) << s;
        } else if (s[0] == '2') {
            slices++;
            std::vector<t_atom> av = maxhost::parse_atoms(text);
            ASSERT_EQ(av.size(), 4u) << "torn slice " << s;
            for (const t_atom &a : av)
                EXPECT_TRUE(learned((long)atom_getlong(&a))) << "torn slice " << s;
        } else {
            EXPECT_EQ(s, "1:bang");
        }
    }
    EXPECT_GT(slices, 0);
    EXPECT_FALSE(console.lines().empty());
    for (t_int32 i = 1; i < e.x->count; i++) {
        ASSERT_LT(e.x->nodes[i].ref, i);
        ASSERT_LE(e.x->nodes[i].lrs, e.x->nodes[i].ref);
    }
}
