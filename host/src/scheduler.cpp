// Time, clocks and queue elements: the scheduler backend of the command-line host and the tests
// (scheduler_backend.h).
//
// One scheduler state, guarded by one mutex, holds the pending clocks (ordered by due time, ties
// by the order they were set) and the queue of set queue elements. Tasks always run with that
// mutex released. Virtual time (the default) moves only in advance(); real time follows the steady
// clock, and a scheduler thread runs clocks as they fall due. now_ms() is continuous across mode
// switches, so a clock's due time keeps its meaning whichever mode runs it.
#include "scheduler_backend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

std::atomic<uint64_t> g_thread_numbers{0};

// A small number per thread, cheaper to compare and store than std::thread::id.
uint64_t this_thread_no() {
    thread_local uint64_t no = ++g_thread_numbers;
    return no;
}

thread_local bool t_timer = false;      // the scheduler thread, or inside advance() running clocks
thread_local bool t_advancing = false;  // inside a virtual-time advance()

struct ClockImpl {
    void *obj;
    method fn;
    bool pending = false;
    double when = 0;
    uint64_t seq = 0;
    bool running = false;
    uint64_t runner = 0;
    bool freed = false;       // released: never set again
    bool self_freed = false;  // released by its own task: the runner deletes it
};

struct QelemImpl {
    void *obj;
    method fn;
    bool queued = false;
    bool running = false;
    bool again = false;  // set while running: one more run
    uint64_t runner = 0;
    uint64_t ran_in = 0;  // the run_queue pass that last ran it
    bool freed = false;
    bool self_freed = false;
};

struct Due {
    double when;
    uint64_t seq;
    ClockImpl *clock;
    bool operator<(const Due &o) const { return when != o.when ? when < o.when : seq < o.seq; }
};

struct Scheduler {
    std::mutex m;
    std::condition_variable sched_cv;  // wakes the scheduler thread
    std::condition_variable queue_cv;  // wakes a real-time advance() when a queue element is set
    std::condition_variable done_cv;   // a task finished (someone may be waiting to free it)

    maxhost::TimeMode mode = maxhost::TimeMode::virtual_time;
    double virtual_now = 0;
    double base_ms = 0;  // real time: now_ms() at base_steady
    Steady::time_point base_steady = Steady::now();

    std::set<Due> pending;
    uint64_t next_seq = 0;
    std::deque<QelemImpl *> queue;
    uint64_t pass = 0;

    std::mutex mode_m;  // serialises mode switches and shutdown (thread start and join)
    std::thread thread;
    bool stop = false;
    bool atexit_registered = false;
    std::atomic<uint64_t> scheduler_thread{0};
    std::atomic<uint64_t> main_thread{0};
    std::mutex advance_m;  // one virtual-time advance at a time

    // Caller holds m.
    double now_locked() const {
        if (mode == maxhost::TimeMode::virtual_time) return virtual_now;
        return base_ms + std::chrono::duration_cast<Millis>(Steady::now() - base_steady).count();
    }

    Steady::time_point steady_at(double ms) const {
        return base_steady + std::chrono::duration_cast<Steady::duration>(Millis(ms - base_ms));
    }

    // Caller holds m.
    void unschedule(ClockImpl *c) {
        if (!c->pending) return;
        pending.erase(Due{c->when, c->seq, c});
        c->pending = false;
    }

    // Caller holds m (through lk); runs the clock's task with m released.
    void run_clock(std::unique_lock<std::mutex> &lk, ClockImpl *c) {
        c->pending = false;
        c->running = true;
        c->runner = this_thread_no();
        lk.unlock();
        maxhost_sched::run_task(c->fn, c->obj);
        lk.lock();
        c->running = false;
        if (c->self_freed)
            delete c;
        else
            done_cv.notify_all();
    }

    // The first queued element not yet run in this pass (an element set again while it ran waits
    // for the next pass, so a task that sets its own element cannot loop forever).
    // Caller holds m.
    QelemImpl *next_for_pass(uint64_t this_pass) {
        for (auto it = queue.begin(); it != queue.end(); ++it) {
            if ((*it)->ran_in != this_pass) {
                QelemImpl *q = *it;
                queue.erase(it);
                return q;
            }
        }
        return nullptr;
    }
};

// Never destroyed: the scheduler thread and late object frees may use it while the process exits.
Scheduler &sched() {
    static Scheduler *s = new Scheduler;
    return *s;
}

// Until someone runs the queue, the main thread is the one that loaded the host.
struct MainThreadAtLoad {
    MainThreadAtLoad() { sched().main_thread = this_thread_no(); }
} g_main_thread_at_load;

void scheduler_loop() {
    Scheduler &s = sched();
    t_timer = true;
    std::unique_lock<std::mutex> lk(s.m);
    while (!s.stop) {
        if (s.pending.empty()) {
            s.sched_cv.wait(lk);
            continue;
        }
        Due first = *s.pending.begin();
        if (first.when > s.now_locked()) {
            s.sched_cv.wait_until(lk, s.steady_at(first.when));
            continue;
        }
        s.pending.erase(s.pending.begin());
        s.run_clock(lk, first.clock);
    }
}

// Caller holds mode_m.
void stop_scheduler_thread() {
    Scheduler &s = sched();
    {
        std::lock_guard<std::mutex> lk(s.m);
        s.stop = true;
    }
    s.sched_cv.notify_all();
    if (!s.thread.joinable()) return;
    if (std::this_thread::get_id() == s.thread.get_id())
        s.thread.detach();  // a task switched the mode: the loop ends when the task returns
    else
        s.thread.join();
    s.scheduler_thread = 0;
}

void stop_at_exit() {
    Scheduler &s = sched();
    std::lock_guard<std::mutex> lk(s.mode_m);
    stop_scheduler_thread();
}

// Caller holds mode_m.
void start_scheduler_thread() {
    Scheduler &s = sched();
    if (s.thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lk(s.m);
        s.stop = false;
    }
    if (!s.atexit_registered) {
        s.atexit_registered = true;
        std::atexit(stop_at_exit);  // no task may run while the process tears down
    }
    s.thread = std::thread([] {
        sched().scheduler_thread = this_thread_no();
        scheduler_loop();
    });
}

void switch_mode(maxhost::TimeMode mode) {
    Scheduler &s = sched();
    std::lock_guard<std::mutex> guard(s.mode_m);
    {
        std::lock_guard<std::mutex> lk(s.m);
        if (s.mode == mode) return;
        double now = s.now_locked();
        if (mode == maxhost::TimeMode::real_time) {
            s.base_ms = now;
            s.base_steady = Steady::now();
        } else {
            s.virtual_now = now;
        }
        s.mode = mode;
    }
    if (mode == maxhost::TimeMode::real_time)
        start_scheduler_thread();
    else
        stop_scheduler_thread();
}

// After this returns the task never runs again; if it is running on another thread, wait for it.
void clock_release(ClockImpl *c) {
    Scheduler &s = sched();
    std::unique_lock<std::mutex> lk(s.m);
    c->freed = true;
    s.unschedule(c);
    if (c->running) {
        if (c->runner == this_thread_no()) {
            c->self_freed = true;
            return;
        }
        s.done_cv.wait(lk, [c] { return !c->running; });
        s.unschedule(c);  // the task may have set it again before it saw the release
    }
    delete c;
}

void qelem_release(QelemImpl *q) {
    Scheduler &s = sched();
    std::unique_lock<std::mutex> lk(s.m);
    q->freed = true;
    if (q->queued) {
        s.queue.erase(std::find(s.queue.begin(), s.queue.end(), q));
        q->queued = false;
    }
    if (q->running) {
        if (q->runner == this_thread_no()) {
            q->self_freed = true;
            return;
        }
        s.done_cv.wait(lk, [q] { return !q->running; });
    }
    delete q;
}

ClockImpl *clock_of(void *c) { return maxhost_sched::impl_of<ClockImpl>(c); }
QelemImpl *qelem_of(void *q) { return maxhost_sched::impl_of<QelemImpl>(q); }

// Caller holds m.
void enqueue(Scheduler &s, QelemImpl *q, bool front) {
    if (q->freed) return;
    if (q->running && !q->queued) {
        q->again = true;  // coalesces with any number of further sets
        return;
    }
    if (q->queued) {
        if (front) {
            s.queue.erase(std::find(s.queue.begin(), s.queue.end(), q));
            s.queue.push_front(q);
        }
        return;
    }
    q->queued = true;
    if (front)
        s.queue.push_front(q);
    else
        s.queue.push_back(q);
    s.queue_cv.notify_all();
}

void set_queue_element(t_qelem *q, bool front) {
    QelemImpl *qe = qelem_of(q);
    if (!qe || !qe->fn) return;
    Scheduler &s = sched();
    std::lock_guard<std::mutex> lk(s.m);
    enqueue(s, qe, front);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// C API
// ---------------------------------------------------------------------------------------------

extern "C" {

void *clock_new(void *obj, method fn) {
    auto *x = maxhost_sched::new_task_record<ClockImpl, clock_release>("clock");
    if (!x) return nullptr;
    x->impl = new ClockImpl;
    x->impl->obj = obj;
    x->impl->fn = fn;
    return x;
}

void clock_fdelay(void *c, double ms) {
    ClockImpl *clock = clock_of(c);
    if (!clock || !clock->fn) return;
    if (!(ms > 0)) ms = 0;  // negative or NaN: as soon as possible
    Scheduler &s = sched();
    {
        std::lock_guard<std::mutex> lk(s.m);
        if (clock->freed) return;
        s.unschedule(clock);
        clock->when = s.now_locked() + ms;
        clock->seq = ++s.next_seq;
        clock->pending = true;
        s.pending.insert(Due{clock->when, clock->seq, clock});
    }
    s.sched_cv.notify_all();
}

void clock_unset(void *c) {
    ClockImpl *clock = clock_of(c);
    if (!clock) return;
    Scheduler &s = sched();
    std::lock_guard<std::mutex> lk(s.m);
    s.unschedule(clock);
}

t_qelem *qelem_new(void *obj, method fn) {
    auto *x = maxhost_sched::new_task_record<QelemImpl, qelem_release>("qelem");
    if (!x) return nullptr;
    x->impl = new QelemImpl;
    x->impl->obj = obj;
    x->impl->fn = fn;
    return x;
}

void qelem_set(t_qelem *q) { set_queue_element(q, false); }

void qelem_front(t_qelem *q) { set_queue_element(q, true); }

void qelem_unset(t_qelem *q) {
    QelemImpl *qe = qelem_of(q);
    if (!qe) return;
    Scheduler &s = sched();
    std::lock_guard<std::mutex> lk(s.m);
    qe->again = false;
    if (qe->queued) {
        s.queue.erase(std::find(s.queue.begin(), s.queue.end(), qe));
        qe->queued = false;
    }
}

short systhread_ismainthread(void) { return this_thread_no() == sched().main_thread.load() ? 1 : 0; }

short systhread_istimerthread(void) { return t_timer ? 1 : 0; }

}  // extern "C"

// ---------------------------------------------------------------------------------------------
// Host side
// ---------------------------------------------------------------------------------------------

namespace maxhost {

void set_time_mode(TimeMode mode) { switch_mode(mode); }

TimeMode time_mode() {
    Scheduler &s = sched();
    std::lock_guard<std::mutex> lk(s.m);
    return s.mode;
}

double now_ms() {
    Scheduler &s = sched();
    std::lock_guard<std::mutex> lk(s.m);
    return s.now_locked();
}

int run_queue() {
    Scheduler &s = sched();
    uint64_t self = this_thread_no();
    s.main_thread = self;
    std::unique_lock<std::mutex> lk(s.m);
    uint64_t this_pass = ++s.pass;
    int ran = 0;
    while (QelemImpl *q = s.next_for_pass(this_pass)) {
        q->queued = false;
        q->running = true;
        q->runner = self;
        q->ran_in = this_pass;
        lk.unlock();
        maxhost_sched::run_task(q->fn, q->obj);
        lk.lock();
        q->running = false;
        ++ran;
        if (q->self_freed) {
            delete q;
            continue;
        }
        if (q->again) {
            q->again = false;
            enqueue(s, q, false);
        }
        s.done_cv.notify_all();
    }
    return ran;
}

void advance(double ms) {
    Scheduler &s = sched();
    s.main_thread = this_thread_no();
    if (!(ms > 0)) ms = 0;
    if (time_mode() == TimeMode::real_time) {
        // The calling thread acts as the main thread until the time is up.
        auto deadline = Steady::now() + std::chrono::duration_cast<Steady::duration>(Millis(ms));
        for (;;) {
            run_queue();
            if (Steady::now() >= deadline) break;
            std::unique_lock<std::mutex> lk(s.m);
            if (!s.queue_cv.wait_until(lk, deadline, [&s] { return !s.queue.empty(); })) break;
        }
        return;
    }
    if (t_advancing) return;  // a task cannot advance time from inside advance()
    {
        std::lock_guard<std::mutex> serial(s.advance_m);
        t_advancing = true;
        t_timer = true;
        std::unique_lock<std::mutex> lk(s.m);
        double end = s.virtual_now + ms;
        while (s.mode == TimeMode::virtual_time && !s.pending.empty() && s.pending.begin()->when <= end) {
            Due first = *s.pending.begin();
            s.pending.erase(s.pending.begin());
            if (first.when > s.virtual_now) s.virtual_now = first.when;
            s.run_clock(lk, first.clock);
        }
        if (s.mode == TimeMode::virtual_time && end > s.virtual_now) s.virtual_now = end;
        t_timer = false;
        t_advancing = false;
    }
    run_queue();
}

void shutdown() {
    Scheduler &s = sched();
    {
        std::lock_guard<std::mutex> guard(s.mode_m);
        stop_scheduler_thread();
        std::lock_guard<std::mutex> lk(s.m);
        if (s.mode == TimeMode::real_time) {
            s.virtual_now = s.now_locked();
            s.mode = TimeMode::virtual_time;
        }
        for (const Due &d : s.pending) d.clock->pending = false;
        s.pending.clear();
        for (QelemImpl *q : s.queue) {
            q->queued = false;
            q->again = false;
        }
        s.queue.clear();
    }
}

}  // namespace maxhost
