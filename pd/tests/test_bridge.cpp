// The Max half of a Pd external driven by a stand-in for the Pd glue: Pd numbers reach the object
// as a Max patch would send them, symbols come back as symbols, and posts and clock requests made
// off Pd's thread wait for Pd's thread to drain them. Real Pd never calls from another thread, so
// only this test reaches that path.
#include "ext.h"
#include "ext_obex.h"
#include "ext_systhread.h"

#include "bridge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

// ---- the glue's side: Pd's window, outlets and clocks, with a logical time of our own
struct FakeClock {
    void (*task)(void *);
    void *arg;
    double due = -1;
};
double g_now = 0;
int g_wakes = 0;
int g_wakes_after_post = 0;
short g_worker_is_main = -1;
std::vector<std::string> g_window;
std::vector<void *> g_error_owners;  // the Pd object each error names
std::vector<std::string> g_outlet;  // "sel a:s b:f ..."
std::vector<FakeClock *> g_clocks;

void run_until(double t) {
    for (;;) {
        FakeClock *next = nullptr;
        for (FakeClock *c : g_clocks)
            if (c->due >= 0 && c->due <= t && (!next || c->due < next->due)) next = c;
        if (!next) break;
        g_now = next->due;
        next->due = -1;
        next->task(next->arg);
    }
    g_now = t;
}

// ---- a Max class that shows what reaches it
struct Probe {
    t_object ob;
    void *out;
    void *clock;
    t_qelem *qelem;
    bool fails_later;
};
t_class *g_probe_class;

void probe_int(Probe *, t_atom_long n) { post("int %ld", static_cast<long>(n)); }
void probe_float(Probe *, double f) { post("float %g", f); }
void probe_echo(Probe *x, t_symbol *s, long argc, t_atom *argv) { outlet_anything(x->out, s, argc, argv); }
void probe_tick(Probe *x) {
    if (x->fails_later)
        object_error(&x->ob, "failed later");
    else
        post("tick");
}
void probe_fail(Probe *x) { object_error(&x->ob, "failed"); }
void probe_fail_later(Probe *x) {
    x->fails_later = true;
    clock_fdelay(x->clock, 1);
}
void probe_queued(Probe *) { post("queued"); }
void probe_elsewhere(Probe *x) {
    std::thread worker([x] {
        g_worker_is_main = systhread_ismainthread();
        post("from a worker");
        g_wakes_after_post = g_wakes;
        clock_fdelay(x->clock, 5);
        qelem_set(x->qelem);
    });
    worker.join();
}

void *probe_new(t_symbol *, long argc, t_atom *) {
    if (argc > 0) return nullptr;  // a box that cannot be made
    auto *x = static_cast<Probe *>(object_alloc(g_probe_class));
    x->out = outlet_new(x, nullptr);
    x->fails_later = false;
    x->clock = clock_new(x, reinterpret_cast<method>(probe_tick));
    x->qelem = qelem_new(x, reinterpret_cast<method>(probe_queued));
    return x;
}

void probe_free(Probe *x) {
    clock_free(static_cast<t_object *>(x->clock));
    qelem_free(x->qelem);
}

pdb_atom number(double f) { return pdb_atom{'f', f, nullptr}; }
pdb_atom symbol(const char *s) { return pdb_atom{'s', 0, s}; }

class Bridge : public ::testing::Test {
protected:
    void SetUp() override {
        g_window.clear();
        g_error_owners.clear();
        g_outlet.clear();
        static const int registered = pdb_setup("probe");
        ASSERT_EQ(registered, 1);
        x_ = pdb_new("probe", this, 0, nullptr);
        ASSERT_NE(x_, nullptr);
    }
    void TearDown() override { pdb_free(x_); }
    void *x_ = nullptr;
};

TEST_F(Bridge, WholeNumbersArriveAsIntsFractionsAsFloatsSymbolsAsSymbols) {
    pdb_atom three = number(3), half = number(2.5);
    pdb_send(x_, "float", 1, &three);
    pdb_send(x_, "float", 1, &half);
    EXPECT_EQ(g_window, (std::vector<std::string>{"int 3", "float 2.5"}));

    pdb_atom args[] = {symbol("paintrect"), number(1), number(0.25)};
    pdb_send(x_, "echo", 3, args);
    EXPECT_EQ(g_outlet, (std::vector<std::string>{"echo paintrect:s 1:f 0.25:f"}));
}

TEST_F(Bridge, ErrorsNameTheBoxThatMadeThemAndABoxNotMadeNamesNone) {
    pdb_send(x_, "fail", 0, nullptr);
    pdb_send(x_, "fail_later", 0, nullptr);
    run_until(g_now + 5);
    pdb_atom arg = number(1);
    EXPECT_EQ(pdb_new("probe", this, 1, &arg), nullptr);
    EXPECT_EQ(g_window, (std::vector<std::string>{"probe: failed", "probe: failed later",
                                                  "probe: could not create an instance"}));
    EXPECT_EQ(g_error_owners, (std::vector<void *>{this, this, nullptr}));
}

TEST_F(Bridge, PostsAndClocksFromAnotherThreadWaitForTheDrain) {
    int wakes = g_wakes;
    pdb_send(x_, "elsewhere", 0, nullptr);
    EXPECT_TRUE(g_window.empty()) << "posted off Pd's thread";
    EXPECT_GT(g_wakes_after_post, wakes);
    run_until(g_now + 10);
    EXPECT_TRUE(g_window.empty()) << "a clock set off Pd's thread ran before the drain";

    pdb_drain();
    run_until(g_now + 10);
    EXPECT_EQ(g_window, (std::vector<std::string>{"from a worker", "queued", "tick"}));
    EXPECT_GT(g_wakes, g_wakes_after_post) << "a clock set off Pd's thread did not wake it";
    EXPECT_EQ(g_worker_is_main, 0);
}

// What a task sees and does when it runs.
struct Task {
    int runs = 0;
    short on_timer_thread = -1;
    t_qelem *qelem = nullptr;
    int sets_itself = 0;   // times the queue element sets itself again from its own run
    void *clock = nullptr;
    bool frees_itself = false;
};

void task_run(Task *t) {
    ++t->runs;
    t->on_timer_thread = systhread_istimerthread();
    if (t->sets_itself > 0) {
        --t->sets_itself;
        qelem_set(t->qelem);
    }
    if (t->frees_itself) clock_free(static_cast<t_object *>(t->clock));
}

TEST(PdScheduler, AQueueElementRunsOnceAfterEverySetAndNeverAfterAnUnset) {
    size_t clocks = g_clocks.size();
    Task t;
    t.qelem = qelem_new(&t, reinterpret_cast<method>(task_run));
    qelem_set(t.qelem);
    qelem_set(t.qelem);
    run_until(g_now);
    EXPECT_EQ(t.runs, 1);
    EXPECT_EQ(t.on_timer_thread, 0);
    qelem_set(t.qelem);
    run_until(g_now);
    EXPECT_EQ(t.runs, 2);
    qelem_set(t.qelem);
    qelem_unset(t.qelem);
    run_until(g_now + 5);
    EXPECT_EQ(t.runs, 2);
    qelem_set(t.qelem);
    run_until(g_now);
    EXPECT_EQ(t.runs, 3) << "a set after an unset was lost";

    // Set again from its own run: once more on the next millisecond, never in the same instant.
    t.sets_itself = 1;
    qelem_set(t.qelem);
    run_until(g_now);
    EXPECT_EQ(t.runs, 4);
    run_until(g_now + 1);
    EXPECT_EQ(t.runs, 5);

    qelem_set(nullptr);
    qelem_unset(nullptr);
    qelem_free(t.qelem);
    EXPECT_EQ(g_clocks.size(), clocks);
}

TEST(PdScheduler, AClockFiresOnTimeOnTheTimerThreadAndMayFreeItself) {
    size_t clocks = g_clocks.size();
    Task t;
    t.clock = clock_new(&t, reinterpret_cast<method>(task_run));
    EXPECT_EQ(systhread_ismainthread(), 1);
    clock_fdelay(t.clock, 5);
    run_until(g_now + 4.5);
    EXPECT_EQ(t.runs, 0);
    run_until(g_now + 0.5);
    EXPECT_EQ(t.runs, 1);
    EXPECT_EQ(t.on_timer_thread, 1);
    EXPECT_EQ(systhread_istimerthread(), 0);

    clock_fdelay(t.clock, -5);  // in the past: as soon as possible
    run_until(g_now);
    EXPECT_EQ(t.runs, 2);
    clock_fdelay(t.clock, 3);
    clock_unset(t.clock);
    run_until(g_now + 10);
    EXPECT_EQ(t.runs, 2);

    clock_fdelay(nullptr, 1);
    clock_unset(nullptr);
    t.frees_itself = true;
    clock_delay(t.clock, 1);
    run_until(g_now + 1);
    EXPECT_EQ(t.runs, 3);
    EXPECT_EQ(g_clocks.size(), clocks);
}

}  // namespace

extern "C" {

void ext_main(void *) {
    t_class *c = class_new("probe", reinterpret_cast<method>(probe_new), reinterpret_cast<method>(probe_free),
                           sizeof(Probe), nullptr, A_GIMME, 0);
    class_addmethod(c, reinterpret_cast<method>(probe_int), "int", A_LONG, 0);
    class_addmethod(c, reinterpret_cast<method>(probe_float), "float", A_FLOAT, 0);
    class_addmethod(c, reinterpret_cast<method>(probe_echo), "echo", A_GIMME, 0);
    class_addmethod(c, reinterpret_cast<method>(probe_elsewhere), "elsewhere", 0);
    class_addmethod(c, reinterpret_cast<method>(probe_fail), "fail", 0);
    class_addmethod(c, reinterpret_cast<method>(probe_fail_later), "fail_later", 0);
    class_register(CLASS_BOX, c);
    g_probe_class = c;
}

void pdg_post(void *owner, int is_error, const char *line) {
    g_window.emplace_back(line);
    if (is_error) g_error_owners.push_back(owner);
}

void pdg_outlet(void *, int, const char *selector, int argc, const pdb_atom *argv) {
    std::string s = selector;
    for (int i = 0; i < argc; ++i) {
        char buf[64];
        if (argv[i].type == 's')
            s += std::string(" ") + argv[i].s + ":s";
        else
            s += (std::snprintf(buf, sizeof buf, " %g:f", argv[i].f), buf);
    }
    g_outlet.push_back(s);
}

void *pdg_clock_new(void (*task)(void *), void *arg) {
    g_clocks.push_back(new FakeClock{task, arg});
    return g_clocks.back();
}
void pdg_clock_delay(void *c, double ms) { static_cast<FakeClock *>(c)->due = g_now + ms; }
void pdg_clock_unset(void *c) { static_cast<FakeClock *>(c)->due = -1; }
void pdg_clock_free(void *c) {
    auto *clock = static_cast<FakeClock *>(c);
    g_clocks.erase(std::find(g_clocks.begin(), g_clocks.end(), clock));
    delete clock;
}
double pdg_time_ms(void) { return g_now; }
void pdg_wake(void) { ++g_wakes; }

}  // extern "C"
