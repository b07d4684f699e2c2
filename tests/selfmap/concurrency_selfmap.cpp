// "learn" on one thread while every other message, the clock task and the drawing task run on
// another: ThreadSanitizer must stay silent, and every list sent must be whole.
#include "race_threads.h"
#include "selfmap_test_util.h"

#include <random>
#include <thread>

TEST(SelfmapConcurrency, LearningRacesReadersClearAndReports) {
    Map m("selfmap 30 100");
    maxhost::ConsoleCapture console;
    std::mt19937 rng(1);
    racetest::UntilStopped learner([&](long i) {
        racetest::learn_random(m.obj, rng, (i / 3000) % 2 ? 3 : 4, 128);  // now and then a new size, and a new map
        if (i % 500 == 0) maxhost::send_text(m.obj, "dump_max");
    });
    for (long round = 0; round < 300 || learner.count() < 30000; round++) {
        for (const char *msg : {"bang", "2", "30", "list 1 2 3 4 5", "change 5 4 3 2 1", "dump_max", "dump_lcd", "pas 0.9"})
            m.send(msg);
        if (round % 16 == 0) m.send("clear");
        maxhost::advance(100);  // clock task and drawing task, on this thread
        for (const Sent &s : m.take()) {
            if (s.outlet != 0) continue;
            EXPECT_TRUE(s.args.size() >= 3 && s.args.size() <= 5) << s.args.size();
            for (long e : s.args) EXPECT_TRUE(e >= 0 && e <= 127) << e;
        }
        EXPECT_TRUE(console.errors().empty());
        console.clear();
    }
    learner.stop();
    for (long i = 0; i < 30; i++)
        for (double e : m.unit(i)) EXPECT_TRUE(e >= 0 && e <= 127);
}

// The lock-out flag alone: one thread asks for dumps (mostly dropped, reading the flag only) while
// the clock task clears the flag on this thread.
TEST(SelfmapConcurrency, DumpLockOutRacesTheClock) {
    Map m("selfmap 4");
    maxhost::ConsoleCapture console;
    racetest::UntilStopped dumper([&](long) { selfmap_dumpmax(m.x); });
    for (long round = 0; round < 2000; round++) {
        const long before = dumper.count();
        maxhost::advance(250);
        while (dumper.count() == before) std::this_thread::yield();  // the dumper asks again after every round
    }
    dumper.stop();
    long dumps = 0;
    for (const std::string &line : console.lines()) dumps += line.rfind("Taille carte", 0) == 0;
    EXPECT_GT(dumps, 1);
    EXPECT_LT(dumps, dumper.count());
}
