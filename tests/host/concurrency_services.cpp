// Host services used from several threads at once: queue elements and clocks set from anywhere,
// the real-time scheduler, mutexes and containers. Run under ThreadSanitizer.
#include <gtest/gtest.h>

#include "maxhost/runtime.h"
#include "svc_test_util.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 4;

template <typename F>
void on_threads(F body) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) threads.emplace_back(body, t);
    for (auto &th : threads) th.join();
}

class Services : public ::testing::Test {
protected:
    void SetUp() override { maxhost::shutdown(); }
    void TearDown() override { maxhost::shutdown(); }
};

struct Coalesce {
    std::atomic<int> sets[kThreads] = {};
    int seen[kThreads] = {};  // written by the task only
    int runs = 0;
};

void coalesce_task(Coalesce *c) {
    ++c->runs;
    for (int i = 0; i < kThreads; ++i) c->seen[i] = c->sets[i].load();
}

TEST_F(Services, QelemSetFromManyThreadsNeverLosesTheLastSet) {
    Coalesce c;
    void *q = qelem_new(&c, as_method(coalesce_task));
    std::atomic<bool> done{false};
    std::thread setters([&] {
        on_threads([&](int t) {
            for (int i = 1; i <= 2000; ++i) {
                c.sets[t] = i;
                qelem_set(q);
            }
        });
        done = true;
    });
    while (!done) maxhost::run_queue();
    setters.join();
    maxhost::run_queue();  // whatever was set after (or during) the last run
    EXPECT_LE(c.runs, kThreads * 2000);
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(c.seen[t], 2000) << "thread " << t;
    qelem_free(q);
}

void count_task(std::atomic<int> *n) { ++*n; }

TEST_F(Services, ClockSetFromManyThreadsRunsOnce) {
    std::atomic<int> runs[kThreads] = {};
    void *clocks[kThreads];
    for (int t = 0; t < kThreads; ++t) clocks[t] = clock_new(&runs[t], as_method(count_task));
    on_threads([&](int t) {
        for (int i = 0; i < 500; ++i) {
            clock_fdelay(clocks[(t + i) % kThreads], 5 + i % 7);
            if (i % 50 == 0) clock_unset(clocks[t]);
        }
    });
    for (void *c : clocks) clock_fdelay(c, 3);
    maxhost::advance(100);
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(runs[t].load(), 1) << t;
        object_free(clocks[t]);
    }
}

struct RealTime {
    std::atomic<int> runs{0};
    std::atomic<double> fired_at{0};
    std::atomic<bool> clock_on_timer{false}, qelem_on_main{false}, finished{false};
    int sleep_ms = 0;
    void *qelem = nullptr;
};

void realtime_clock_task(RealTime *r) {
    r->fired_at = maxhost::now_ms();
    r->clock_on_timer = systhread_istimerthread() && !systhread_ismainthread();
    ++r->runs;
    if (r->qelem) qelem_set(r->qelem);  // hands work to the main thread, as drawing does
    std::this_thread::sleep_for(std::chrono::milliseconds(r->sleep_ms));
    r->finished = true;
}

void realtime_qelem_task(RealTime *r) { r->qelem_on_main = systhread_ismainthread() != 0; }

TEST_F(Services, RealTimeSchedulerFiresClocksAndMainRunsQueue) {
    maxhost::set_time_mode(maxhost::TimeMode::real_time);
    RealTime r;
    r.qelem = qelem_new(&r, as_method(realtime_qelem_task));
    void *c = clock_new(&r, as_method(realtime_clock_task));
    auto start = std::chrono::steady_clock::now();
    double start_ms = maxhost::now_ms();
    clock_fdelay(c, 30);
    maxhost::advance(150);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_EQ(r.runs.load(), 1);
    EXPECT_GE(r.fired_at.load() - start_ms, 30);
    EXPECT_TRUE(r.clock_on_timer.load());
    EXPECT_TRUE(r.qelem_on_main.load());

    // Freeing a clock whose task is running on the scheduler waits for the task; it never runs again.
    r.sleep_ms = 50;
    r.finished = false;
    clock_fdelay(c, 1);
    while (r.runs.load() == 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    object_free(c);
    EXPECT_TRUE(r.finished.load());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(r.runs.load(), 2);
    qelem_free(r.qelem);
}

TEST_F(Services, TrylockAndContainersUnderContention) {
    t_systhread_mutex m = nullptr;
    ASSERT_EQ(systhread_mutex_new(&m, 0), 0);
    long counter = 0;
    std::atomic<long> taken{0}, dropped{0};
    t_linklist *l = linklist_new();
    linklist_flags(l, OBJ_FLAG_DATA);
    t_hashtab *h = hashtab_new(0);
    hashtab_flags(h, OBJ_FLAG_DATA);
    on_threads([&](int t) {
        for (intptr_t i = 1; i <= 2000; ++i) {
            linklist_append(l, reinterpret_cast<void *>(i));
            hashtab_store(h, int_key(t * 2000 + i), reinterpret_cast<t_object *>(i));
            // Half the threads wait for the lock; the others drop their work when it is busy.
            if ((t % 2 == 0 ? systhread_mutex_lock(m) : systhread_mutex_trylock(m)) != 0) {
                ++dropped;
                continue;
            }
            ++counter;
            ++taken;
            systhread_mutex_unlock(m);
        }
    });
    EXPECT_EQ(counter, taken.load());
    EXPECT_EQ(taken.load() + dropped.load(), kThreads * 2000L);
    EXPECT_EQ(linklist_getsize(l), kThreads * 2000);
    EXPECT_EQ(hashtab_getsize(h), kThreads * 2000);
    systhread_mutex_free(m);
    object_free(l);
    object_free(h);
}

// Integer arrays made into atoms on first use: threads asking for one array at once all get it
// whole, and so does a writer meanwhile.
TEST_F(Services, IntegerArraysAskedForOnManyThreadsAtOnce) {
    short path = 0;
    char name[MAX_FILENAME_CHARS];
    ASSERT_EQ(path_frompathname(std::filesystem::temp_directory_path().string().c_str(), &path, name), 0);
    constexpr int kArrays = 200, kSize = 500;
    std::vector<t_atom> ints(kSize);
    for (int i = 0; i < kSize; ++i) atom_setlong(&ints[i], i);
    std::vector<t_symbol *> keys;
    t_dictionary *d = dictionary_new();
    for (int k = 0; k < kArrays; ++k) {
        keys.push_back(gensym(("a" + std::to_string(k)).c_str()));
        dictionary_appendatoms(d, keys.back(), kSize, ints.data());
    }
    std::atomic<int> wrong{0};
    on_threads([&](int t) {
        if (t == 0) {
            if (dictionary_write(d, "concurrent_ints.json", path) != MAX_ERR_NONE) ++wrong;
            return;
        }
        for (int k = 0; k < kArrays; ++k) {
            long ac = 0;
            t_atom *av = nullptr;
            if (dictionary_getatoms(d, keys[k], &ac, &av) != MAX_ERR_NONE || ac != kSize ||
                atom_getlong(av + kSize - 1) != kSize - 1)
                ++wrong;
        }
    });
    EXPECT_EQ(wrong.load(), 0);
    object_free(d);
    std::filesystem::remove(std::filesystem::temp_directory_path() / "concurrent_ints.json");
}

}  // namespace
