// Messages delivered on several threads at once: dispatch reads only immutable tables, symbols
// are interned under a lock, and console lines never interleave.
#include "core_test_util.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

struct Counter {
    t_object ob;
    void *out;
    std::atomic<long> *total;
};

void counter_learn(Counter *x, t_symbol *, long ac, t_atom *av) {
    long sum = 0;
    for (long i = 0; i < ac; ++i) sum += static_cast<long>(atom_getlong(av + i));
    x->total->fetch_add(sum);
}

void counter_int(Counter *x, t_atom_long n) { x->total->fetch_add(static_cast<long>(n)); }

t_class *counter_class() {
    static t_class *c = [] {
        t_class *k = class_new("counter", nullptr, nullptr, sizeof(Counter), nullptr, 0);
        class_addmethod(k, reinterpret_cast<method>(reinterpret_cast<void (*)()>(counter_learn)), "learn", A_GIMME, 0);
        class_addmethod(k, reinterpret_cast<method>(reinterpret_cast<void (*)()>(counter_int)), "int", A_LONG, 0);
        return k;
    }();
    return c;
}

}  // namespace

TEST(Concurrency, DispatchAndOutletsRunOnManyThreadsAtOnce) {
    std::atomic<long> total{0};
    auto *from = static_cast<Counter *>(object_alloc(counter_class()));
    auto *to = static_cast<Counter *>(object_alloc(counter_class()));
    from->total = &total;
    to->total = &total;
    from->out = intout(from);
    ASSERT_TRUE(maxhost::connect(&from->ob, 0, &to->ob));
    constexpr int kThreads = 4, kRounds = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                maxhost::send_text(&from->ob, "learn 1 2 3");
                outlet_int(from->out, 4);
                gensym(("sym" + std::to_string(i % 50)).c_str());
            }
        });
    for (auto &th : threads) th.join();
    EXPECT_EQ(total.load(), static_cast<long>(kThreads) * kRounds * 10);
    object_free(from);
    object_free(to);
}

TEST(Concurrency, ConsoleLinesArriveWholeFromManyThreads) {
    maxhost::ConsoleCapture console;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i) post("thread %d line %d", t, i);
        });
    for (auto &th : threads) th.join();
    std::vector<std::string> lines = console.lines();
    ASSERT_EQ(lines.size(), 800u);
    for (const std::string &l : lines) EXPECT_EQ(l.rfind("thread ", 0), 0u) << l;
}

TEST(Concurrency, FirstLoadFromManyThreadsRunsTheEntryOnce) {
    coretest::use_externals_dir();
    std::vector<t_class *> found(4, nullptr);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&found, t] { found[static_cast<size_t>(t)] = maxhost::find_class("testext"); });
    for (auto &th : threads) th.join();
    for (t_class *c : found) EXPECT_EQ(c, found[0]);
    ASSERT_NE(found[0], nullptr);
    std::vector<std::string> names = maxhost::method_names(found[0]);
    EXPECT_EQ(std::count(names.begin(), names.end(), "say"), 1);
    coretest::TestExt t;
    coretest::Recorder rec;
    rec.watch(t.x);
    maxhost::send_text(t.x, "entries");
    EXPECT_EQ(rec.events, std::vector<std::string>{"0: int 1"});
}
