// "write" and "read" on the main thread while another thread keeps learning and reading out: a
// message sees the old model or the new one whole, and the file is written from one consistent copy.
#include "gasnet_test_util.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <thread>

namespace fs = std::filesystem;

TEST(GasnetFileConcurrency, WriteAndReadWhileAnotherThreadLearns) {
    fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / "gasnet_file_concurrency";
    fs::create_directories(dir);
    maxhost::set_default_folder(dir.string());
    Gas g("gasnet 40 100");
    maxhost::ConsoleCapture console;
    srand(1);
    for (int i = 0; i < 500; i++) g.send("learn " + std::to_string(rand() % 100) + " 7 " + std::to_string(i % 100));
    g.send("write start.json");
    Gas other("gasnet 30 100");  // a file of another size, so that a read replaces the dump buffer too
    for (int i = 0; i < 300; i++) other.send("learn " + std::to_string(rand() % 100) + " 3 " + std::to_string(i % 50));
    other.send("write other.json");
    maxhost::run_queue();
    ASSERT_TRUE(console.errors().empty());

    std::atomic<bool> stop{false};
    std::atomic<long> learned{0};
    std::thread learner([&] {
        std::mt19937 rng(2);
        for (long i = 0; !stop; i++, learned++) {
            t_atom v[3];
            for (long k = 0; k < 3; k++) atom_setlong(v + k, (t_atom_long)(rng() % 100));
            maxhost::send(g.obj, gensym("learn"), 3, v);
            if (i % 64 == 0) maxhost::send_text(g.obj, "bang");
            if (i % 512 == 0) maxhost::send_text(g.obj, "dump_max");
        }
    });
    for (int round = 0; round < 60 || learned < 5000; round++) {
        const char *const steps[] = {"write during.json", "read start.json", "read other.json"};
        g.send(steps[round % 3]);
        maxhost::run_queue();
    }
    stop = true;
    learner.join();
    for (const Sent &s : g.take()) EXPECT_EQ(s.args.size(), 3u);  // a read-out of one model, whole
    EXPECT_TRUE(console.errors().empty()) << console.errors()[0];
    g.send("read during.json");  // the copy written mid-learning is a whole, valid model
    maxhost::run_queue();
    EXPECT_TRUE(console.errors().empty());
    expect_invariants(g.x);
}
