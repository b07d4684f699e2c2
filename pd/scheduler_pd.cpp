// The scheduler backend for Pd (host/src/scheduler_backend.h): Max clocks become Pd clocks
// (Pd's logical milliseconds), a queue element becomes a zero-delay Pd clock, and everything runs
// on Pd's one thread. Sets, unsets and frees made on other threads are queued here and replayed
// on Pd's thread, which the glue wakes through a pipe: taking Pd's global lock from a worker
// thread can deadlock when Pd joins that thread.
#include "scheduler_backend.h"

#include "bridge.h"

#include <mutex>
#include <thread>
#include <vector>

void pdb_run_as_owner(void *max_object, void (*run)(void *), void *arg);  // max_half.cpp

namespace {

std::thread::id g_pd_thread = std::this_thread::get_id();  // set again by pdb_setup
thread_local bool t_in_clock = false;

bool on_pd_thread() { return std::this_thread::get_id() == g_pd_thread; }

struct ClockImpl {
    void *obj;
    method fn;
    void *pd = nullptr;
    bool running = false;
    bool self_freed = false;  // released by its own task: deleted when the task returns
};

struct QelemImpl {
    void *obj;
    method fn;
    void *pd = nullptr;
    bool queued = false;
    bool running = false;
    bool again = false;  // set while running: one more run, on the next millisecond
    bool self_freed = false;
};

// A request made off Pd's thread, replayed in order on it.
enum class Op { clock_delay, clock_unset, clock_free, qelem_set, qelem_unset, qelem_free };
struct Request {
    Op op;
    void *impl;
    double ms;
};
std::mutex g_requests_m;
std::vector<Request> g_requests;

void post_request(Op op, void *impl, double ms = 0) {
    {
        std::lock_guard<std::mutex> lk(g_requests_m);
        g_requests.push_back(Request{op, impl, ms});
    }
    pdg_wake();
}

void run_clock(void *p) {
    auto *c = static_cast<ClockImpl *>(p);
    c->running = true;
    bool was = t_in_clock;
    t_in_clock = true;
    maxhost_sched::run_task(c->fn, c->obj);
    t_in_clock = was;
    c->running = false;
    if (c->self_freed) delete c;
}

void run_qelem(void *p) {
    auto *q = static_cast<QelemImpl *>(p);
    q->queued = false;
    q->running = true;
    maxhost_sched::run_task(q->fn, q->obj);
    q->running = false;
    if (q->self_freed) {
        delete q;
    } else if (q->again) {
        // A zero delay here would run it again in the same logical instant, forever.
        q->again = false;
        q->queued = true;
        pdg_clock_delay(q->pd, 1.0);
    }
}

// A task's errors point at the Pd box of the object that made the clock or queue element.
void clock_task(void *p) { pdb_run_as_owner(static_cast<ClockImpl *>(p)->obj, run_clock, p); }
void qelem_task(void *p) { pdb_run_as_owner(static_cast<QelemImpl *>(p)->obj, run_qelem, p); }

// Pd's thread only, from here down to the C API.
void do_clock_delay(ClockImpl *c, double ms) { pdg_clock_delay(c->pd, ms > 0 ? ms : 0); }
void do_clock_free(ClockImpl *c) {
    pdg_clock_free(c->pd);  // Pd allows this from the clock's own task
    if (c->running)
        c->self_freed = true;
    else
        delete c;
}
void do_qelem_set(QelemImpl *q) {
    if (q->running) {
        q->again = true;
        return;
    }
    if (q->queued) return;
    q->queued = true;
    pdg_clock_delay(q->pd, 0);
}
void do_qelem_unset(QelemImpl *q) {
    q->queued = false;
    q->again = false;
    pdg_clock_unset(q->pd);
}
void do_qelem_free(QelemImpl *q) {
    pdg_clock_free(q->pd);
    if (q->running)
        q->self_freed = true;
    else
        delete q;
}

void clock_release(ClockImpl *c) {
    if (on_pd_thread())
        do_clock_free(c);
    else
        post_request(Op::clock_free, c);
}

void qelem_release(QelemImpl *q) {
    if (on_pd_thread())
        do_qelem_free(q);
    else
        post_request(Op::qelem_free, q);
}

ClockImpl *clock_of(void *c) { return maxhost_sched::impl_of<ClockImpl>(c); }
QelemImpl *qelem_of(void *q) { return maxhost_sched::impl_of<QelemImpl>(q); }

}  // namespace

void pdb_set_pd_thread() { g_pd_thread = std::this_thread::get_id(); }

void pdb_drain_clocks() {
    std::vector<Request> todo;
    {
        std::lock_guard<std::mutex> lk(g_requests_m);
        todo.swap(g_requests);
    }
    for (const Request &r : todo) {
        switch (r.op) {
            case Op::clock_delay: do_clock_delay(static_cast<ClockImpl *>(r.impl), r.ms); break;
            case Op::clock_unset: pdg_clock_unset(static_cast<ClockImpl *>(r.impl)->pd); break;
            case Op::clock_free: do_clock_free(static_cast<ClockImpl *>(r.impl)); break;
            case Op::qelem_set: do_qelem_set(static_cast<QelemImpl *>(r.impl)); break;
            case Op::qelem_unset: do_qelem_unset(static_cast<QelemImpl *>(r.impl)); break;
            case Op::qelem_free: do_qelem_free(static_cast<QelemImpl *>(r.impl)); break;
        }
    }
}

extern "C" {

void *clock_new(void *obj, method fn) {
    auto *x = maxhost_sched::new_task_record<ClockImpl, clock_release>("clock");
    if (!x) return nullptr;
    x->impl = new ClockImpl{obj, fn};
    x->impl->pd = pdg_clock_new(clock_task, x->impl);
    return x;
}

void clock_fdelay(void *c, double ms) {
    ClockImpl *clock = clock_of(c);
    if (!clock || !clock->fn) return;
    if (!(ms > 0)) ms = 0;  // negative or NaN: as soon as possible
    if (on_pd_thread())
        do_clock_delay(clock, ms);
    else
        post_request(Op::clock_delay, clock, ms);
}

void clock_unset(void *c) {
    ClockImpl *clock = clock_of(c);
    if (!clock) return;
    if (on_pd_thread())
        pdg_clock_unset(clock->pd);
    else
        post_request(Op::clock_unset, clock);
}

t_qelem *qelem_new(void *obj, method fn) {
    auto *x = maxhost_sched::new_task_record<QelemImpl, qelem_release>("qelem");
    if (!x) return nullptr;
    x->impl = new QelemImpl{obj, fn};
    x->impl->pd = pdg_clock_new(qelem_task, x->impl);
    return x;
}

void qelem_set(t_qelem *q) {
    QelemImpl *qe = qelem_of(q);
    if (!qe || !qe->fn) return;
    if (on_pd_thread())
        do_qelem_set(qe);
    else
        post_request(Op::qelem_set, qe);
}

// Pd has one clock list ordered by time, so the front of the queue is the same as a set.
void qelem_front(t_qelem *q) { qelem_set(q); }

void qelem_unset(t_qelem *q) {
    QelemImpl *qe = qelem_of(q);
    if (!qe) return;
    if (on_pd_thread())
        do_qelem_unset(qe);
    else
        post_request(Op::qelem_unset, qe);
}

short systhread_ismainthread(void) { return on_pd_thread() ? 1 : 0; }

short systhread_istimerthread(void) { return t_in_clock ? 1 : 0; }

}  // extern "C"

// The host-side time controls have nothing to drive in Pd: its scheduler owns time.
namespace maxhost {

void set_time_mode(TimeMode) {}
TimeMode time_mode() { return TimeMode::real_time; }
double now_ms() { return pdg_time_ms(); }
void advance(double) {}
int run_queue() { return 0; }
void shutdown() {}

}  // namespace maxhost
