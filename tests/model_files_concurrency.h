// "write" and "read" on the main thread while another thread keeps learning, reading out and
// dumping: every file written mid-learning is a whole model that reads back, nothing fails, and
// the sanitizer builds see no race or bad access as a read swaps models of two sizes in and out.
#pragma once

#include "maxhost/runtime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace model_files {

// `learn(i)` is the i-th message of the other thread's stream; `drawing` is sent on the main thread
// between the file messages.
inline void write_and_read_while_learning(const std::string &name, const std::string &box, const std::string &other_box,
                                          const std::function<std::string(long)> &learn,
                                          const std::string &drawing = "dump_lcd") {
    namespace fs = std::filesystem;
    fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / (name + "_file_concurrency");
    fs::create_directories(dir);
    maxhost::set_default_folder(dir.string());
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    t_object *x = maxhost::create_from_box(box);
    t_object *other = maxhost::create_from_box(other_box);  // a model of another size
    ASSERT_TRUE(x && other);
    maxhost::ConsoleCapture console;
    for (long i = 0; i < 300; i++) {
        maxhost::send_text(x, learn(i));
        maxhost::send_text(other, learn(i + 7));
    }
    maxhost::send_text(x, "write start.json");
    maxhost::send_text(other, "write other.json");
    maxhost::run_queue();
    ASSERT_TRUE(console.errors().empty()) << console.errors()[0];

    std::atomic<bool> stop{false};
    std::atomic<long> learned{0};
    std::thread learner([&] {
        for (long i = 0; !stop; i++, learned++) {
            maxhost::send_text(x, learn(i));
            if (i % 64 == 0) maxhost::send_text(x, "bang");
            if (i % 512 == 0) maxhost::send_text(x, "dump_max");
        }
    });
    for (int round = 0; round < 60 || learned < 3000; round++) {
        const std::string steps[] = {"write during.json", "read start.json", drawing, "read other.json"};
        maxhost::send_text(x, steps[round % 4]);
        maxhost::advance(1100);  // the file work, and the clock that lets the next dump_max print
    }
    stop = true;
    learner.join();
    EXPECT_TRUE(console.errors().empty()) << console.errors()[0];
    maxhost::send_text(x, "read during.json");
    maxhost::run_queue();
    EXPECT_TRUE(console.errors().empty()) << console.errors()[0];
    object_free(other);
    object_free(x);
}

}  // namespace model_files
