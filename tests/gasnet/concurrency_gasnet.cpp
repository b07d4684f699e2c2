// "learn" on one thread while every other message, the clock and the drawing task run on another.
#include "gasnet_test_util.h"
#include "race_threads.h"

#include <random>
#include <thread>

TEST(GasnetConcurrency, LearningRacesReadersClearAndDumps) {
    Gas g("gasnet 30 100");
    maxhost::ConsoleCapture console;
    std::mt19937 rng(1);
    racetest::UntilStopped learner([&](long i) {
        // size changes restart the graph and lock out drawing
        racetest::learn_random(g.obj, rng, (i / 2500) % 2 ? 3 : 4, 100);
    });
    for (long round = 0; round < 300 || learner.count() < 20000; round++) {
        for (const char *m : {"bang", "2", "list 1 2 3 4 5", "change 5 4 3 2 1", "dump_max", "dump_lcd"}) g.send(m);
        if (round % 16 == 0) g.send("clear");
        maxhost::advance(100);  // clock task and drawing task, on this thread
        for (const Sent &s : g.take()) {
            if (s.outlet == 0) {
                EXPECT_TRUE(s.args.size() >= 3 && s.args.size() <= 5);
            }
        }
        console.clear();
    }
    learner.stop();
    expect_invariants(g.x);
}

// Two threads capture and print while the drawing task reads on this one: each report must copy
// one whole capture, never read the buffer while another capture writes it.
TEST(GasnetConcurrency, ReportsOnTwoThreadsWhileTheQueueDraws) {
    Gas g("gasnet 30 100");
    maxhost::ConsoleCapture console;
    srand(2);
    for (int i = 0; i < 300; i++) g.send("learn " + std::to_string(rand() % 100) + " 1 2 " + std::to_string(i % 100));
    std::thread other([&] {
        for (int i = 0; i < 500; i++) g.send(i % 2 ? "dump_max" : "dump_lcd");
    });
    for (int i = 0; i < 500; i++) {
        g.send(i % 2 ? "dump_lcd" : "dump_max");
        maxhost::run_queue();
    }
    other.join();
    expect_invariants(g.x);
}
