// Clocks, queue elements and virtual time; mutexes and threads from a single test thread (the
// multi-threaded cases are in concurrency_services.cpp).
#include <gtest/gtest.h>

#include "maxhost/runtime.h"
#include "svc_test_util.h"

#include <string>
#include <vector>

namespace {

struct Trace {
    std::vector<std::string> events;
    std::vector<double> times;
};

struct Task {
    std::string name;
    Trace *trace;
    void *self = nullptr;    // its own clock or queue element
    double again_ms = -1;    // a clock task sets its clock once more
    bool set_again = false;  // a queue task sets itself while it runs
    bool free_self = false;
    bool timer = false, main = false;
};

void record(Task *t) {
    t->trace->events.push_back(t->name);
    t->trace->times.push_back(maxhost::now_ms());
    t->timer = systhread_istimerthread();
    t->main = systhread_ismainthread();
}

void clock_task(Task *t) {
    record(t);
    if (t->again_ms >= 0) clock_fdelay(t->self, t->again_ms);
    t->again_ms = -1;
    if (t->free_self) object_free(t->self);
}

void qelem_task(Task *t) {
    record(t);
    if (t->set_again) qelem_set(t->self);
    if (t->free_self) qelem_free(t->self);
}

class Time : public ::testing::Test {
protected:
    void SetUp() override { maxhost::shutdown(); }
    void TearDown() override { maxhost::shutdown(); }
    Trace trace;
};

TEST_F(Time, ClocksRunInTimeOrderThenSetOrder) {
    Task a{"a", &trace}, b{"b", &trace}, c{"c", &trace};
    void *ca = clock_new(&a, as_method(clock_task)), *cb = clock_new(&b, as_method(clock_task)),
         *cc = clock_new(&c, as_method(clock_task));
    double start = maxhost::now_ms();
    clock_fdelay(ca, 30);
    clock_fdelay(cb, 10);
    clock_fdelay(cc, 10);
    maxhost::advance(9.5);
    EXPECT_TRUE(trace.events.empty());
    maxhost::advance(100);
    EXPECT_EQ(trace.events, (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(trace.times, (std::vector<double>{start + 10, start + 10, start + 30}));
    EXPECT_DOUBLE_EQ(maxhost::now_ms(), start + 109.5);
    EXPECT_TRUE(b.timer);
    EXPECT_FALSE(systhread_istimerthread());

    trace = {};  // setting a pending clock again moves it
    clock_fdelay(ca, 5);
    clock_delay(ca, 20);
    clock_fdelay(cb, 10);
    maxhost::advance(50);
    EXPECT_EQ(trace.events, (std::vector<std::string>{"b", "a"}));
    EXPECT_DOUBLE_EQ(trace.times[1], start + 129.5);
    object_free(ca);
    object_free(cb);
    clock_free(static_cast<t_object *>(cc));  // freeobject, as in Max
}

TEST_F(Time, ClocksSetAgainUnsetOrFreed) {
    Task a{"a", &trace}, b{"b", &trace};
    a.self = clock_new(&a, as_method(clock_task));
    void *cb = clock_new(&b, as_method(clock_task));
    double start = maxhost::now_ms();
    a.again_ms = 5;
    clock_fdelay(a.self, 10);
    maxhost::advance(15);  // set again by its task for a time within the window: runs at 10 and 15
    EXPECT_EQ(trace.times, (std::vector<double>{start + 10, start + 15}));
    a.again_ms = 5;
    clock_fdelay(a.self, 10);
    maxhost::advance(14);  // 25 runs; 30 is past the window
    EXPECT_EQ(trace.times.back(), start + 25);
    maxhost::advance(1);
    EXPECT_EQ(trace.times.back(), start + 30);

    trace = {};
    clock_fdelay(a.self, 10);
    clock_fdelay(cb, 10);
    clock_unset(a.self);
    object_free(cb);  // pending when freed
    maxhost::advance(20);
    EXPECT_TRUE(trace.events.empty());
    a.free_self = true;  // a task may release its own clock
    clock_fdelay(a.self, 1);
    maxhost::advance(2);
    EXPECT_EQ(trace.events.size(), 1u);
}

TEST_F(Time, QueueElementsCoalesceAndRunOnTheMainThread) {
    Task a{"a", &trace}, b{"b", &trace};
    a.self = qelem_new(&a, as_method(qelem_task));
    b.self = qelem_new(&b, as_method(qelem_task));
    for (int i = 0; i < 5; ++i) qelem_set(a.self);
    qelem_set(b.self);
    qelem_front(b.self);
    EXPECT_EQ(maxhost::run_queue(), 2);
    EXPECT_EQ(trace.events, (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(a.main);
    EXPECT_FALSE(a.timer);

    qelem_set(a.self);
    qelem_unset(a.self);
    EXPECT_EQ(maxhost::run_queue(), 0);

    a.set_again = true;  // a set while it runs: exactly one more run, in the next pass
    qelem_set(a.self);
    EXPECT_EQ(maxhost::run_queue(), 1);
    a.set_again = false;
    EXPECT_EQ(maxhost::run_queue(), 1);
    EXPECT_EQ(maxhost::run_queue(), 0);

    qelem_set(b.self);  // advance runs the queue after the clocks
    maxhost::advance(1);
    EXPECT_EQ(trace.events.size(), 5u);

    qelem_set(b.self);  // shutdown drops what is pending
    maxhost::shutdown();
    EXPECT_EQ(maxhost::run_queue(), 0);

    qelem_set(a.self);
    qelem_free(a.self);  // pending when freed: never runs
    EXPECT_EQ(maxhost::run_queue(), 0);
    b.set_again = b.free_self = true;  // sets and frees itself while running
    qelem_set(b.self);
    EXPECT_EQ(maxhost::run_queue(), 1);
    EXPECT_EQ(maxhost::run_queue(), 0);
}

void *try_from_other_thread(void *m) {
    return reinterpret_cast<void *>(static_cast<uintptr_t>(systhread_mutex_trylock(m) != 0 ? 7 : 0));
}

TEST(Systhread, TrylockTakesAFreeLockAndReportsABusyOne) {
    t_systhread_mutex m = nullptr;
    ASSERT_EQ(systhread_mutex_new(&m, SYSTHREAD_MUTEX_NORMAL), 0);
    EXPECT_EQ(systhread_mutex_trylock(m), 0);
    EXPECT_NE(systhread_mutex_trylock(m), 0);  // busy, also for its holder
    t_systhread th = nullptr;
    ASSERT_EQ(systhread_create(as_method(try_from_other_thread), m, 0, 0, 0, &th), 0);
    unsigned int ret = 0;
    ASSERT_EQ(systhread_join(th, &ret), 0);
    EXPECT_EQ(ret, 7u);
    systhread_mutex_unlock(m);
    systhread_mutex_free(m);

    ASSERT_EQ(systhread_mutex_new(&m, SYSTHREAD_MUTEX_RECURSIVE), 0);
    systhread_mutex_lock(m);
    EXPECT_EQ(systhread_mutex_trylock(m), 0);  // its holder may take it again
    systhread_mutex_unlock(m);
    systhread_mutex_unlock(m);
    systhread_mutex_free(m);
}

}  // namespace
