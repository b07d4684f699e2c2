// "list" and "vraisemblance" on one thread while "bang", "clear", "dump_max" and "dump_lcd" run on
// another and this thread runs the clock and the drawing task: ThreadSanitizer must stay quiet and
// the model must stay stochastic.
#include "chainlet_fixture.h"

#include <atomic>
#include <chrono>
#include <thread>

TEST(ChainletConcurrency, TrainingAndScoringRaceEveryOtherMessage)
{
    Chain c("chainlet 8 @apprentissage 2");
    maxhost::ConsoleCapture console;
    std::atomic<bool> stop{false};
    std::atomic<long> learned{0}, others{0};
    std::thread learner([&] {
        std::mt19937 rng(3);
        for (long i = 0; !stop || i < 2000; i++, learned++) {
            Ints o;
            for (unsigned t = 0, T = 1 + rng() % 40; t < T; t++) o.push_back(60 + (int)(rng() % 12));
            c.send_list(i % 3 ? "list" : "vraisemblance", o);
        }
    });
    std::thread other([&] {
        for (long i = 0; !stop; i++, others++) {
            c.send("bang");
            if (i % 50 == 0) c.send("clear");
            if (i % 20 == 0) c.send("dump_max");
            if (i % 10 == 0) c.send("dump_lcd");
        }
    });
    while (learned < 3000 || others < 3000) {
        maxhost::advance(500);  // the dump clock and the drawing task
        console.clear();
    }
    stop = true;
    learner.join();
    other.join();
    maxhost::advance(1000);
    expect_model_stochastic(c.x, 1e-9);
    long scores = 0;
    for (const Sent &s : c.take()) {
        if (s.outlet == 0) {
            EXPECT_TRUE(s.args[0] == -1 || (s.args[0] >= 0 && s.args[0] < 128));
        } else if (s.outlet == 2 && s.selector == "paintrect") {
            EXPECT_EQ(s.args.size(), 5u);
        } else if (s.outlet == 3) {
            scores++;
            EXPECT_GT(s.args[0], 0);
        }
    }
    EXPECT_GT(scores, 0);
}

// Two threads dump while this thread runs the clock: each accepted dump copies the model into the
// instance's one buffer and prints from it, and the lock-out clock hands the buffer to whichever
// thread dumps next. The hand-over must order the first print before the next copy.
TEST(ChainletConcurrency, TwoThreadsDumpingShareTheBufferInTurn)
{
    Chain c("chainlet 2");
    maxhost::ConsoleCapture console;
    constexpr long rounds = 300;
    std::atomic<bool> stop{false};
    auto dumper = [&] {
        while (!stop) c.send("dump_max");
    };
    std::thread a(dumper), b(dumper);
    long dumps = 0, periods = 0;
    auto count = [&] {
        for (const std::string &l : console.lines()) dumps += l.rfind("Taille MMC", 0) == 0;
        console.clear();
    };
    // A loaded machine may starve the dumping threads for a while: the bound is time, not turns.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (dumps < rounds && std::chrono::steady_clock::now() < deadline) {
        count();
        maxhost::advance(1000);  // ends the lock-out once the dump in progress has set its clock
        periods++;
        std::this_thread::yield();
    }
    stop = true;
    a.join();
    b.join();
    count();
    // Each dump waited for the lock-out of the one before.
    EXPECT_GE(dumps, rounds);
    EXPECT_LE(dumps, periods + 1);
}
