// The scheduler backend for Pd, in place of host/src/scheduler.cpp: Max clocks become Pd clocks
// (Pd's logical milliseconds), a queue element becomes a zero-delay Pd clock, and everything runs
// on Pd's one thread. Sets, unsets and frees made on other threads are queued here and replayed
// on Pd's thread, which the glue wakes through a pipe: taking Pd's global lock from a worker
// thread can deadlock when Pd joins that thread.
#include "ext.h"
#include "ext_obex.h"
#include "maxhost/runtime.h"

#include "bridge.h"
#include "core_internal.h"
#include "svc_internal.h"

#include <mutex>
#include <thread>
#include <vector>

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

struct ClockRec {
    t_object ob;
    ClockImpl *impl;
};

struct QelemRec {
    t_object ob;
    QelemImpl *impl;
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

void clock_task(void *p) {
    auto *c = static_cast<ClockImpl *>(p);
    c->running = true;
    bool was = t_in_clock;
    t_in_clock = true;
    {
        maxhost_core::EventScope event;
        c->fn(c->obj);
    }
    t_in_clock = was;
    c->running = false;
    if (c->self_freed) delete c;
}

void qelem_task(void *p) {
    auto *q = static_cast<QelemImpl *>(p);
    q->queued = false;
    q->running = true;
    {
        maxhost_core::EventScope event;
        q->fn(q->obj);
    }
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

void clock_release(ClockRec *x) {
    ClockImpl *c = x->impl;
    if (!c) return;
    x->impl = nullptr;
    if (on_pd_thread())
        do_clock_free(c);
    else
        post_request(Op::clock_free, c);
}

void qelem_release(QelemRec *x) {
    QelemImpl *q = x->impl;
    if (!q) return;
    x->impl = nullptr;
    if (on_pd_thread())
        do_qelem_free(q);
    else
        post_request(Op::qelem_free, q);
}

t_class *clock_class() {
    static t_class *c =
        maxhost_svc::make_internal_class("clock", maxhost_svc::as_method(clock_release), sizeof(ClockRec));
    return c;
}

t_class *qelem_class() {
    static t_class *c =
        maxhost_svc::make_internal_class("qelem", maxhost_svc::as_method(qelem_release), sizeof(QelemRec));
    return c;
}

ClockImpl *clock_of(void *c) { return c ? static_cast<ClockRec *>(c)->impl : nullptr; }
QelemImpl *qelem_of(void *q) { return q ? static_cast<QelemRec *>(q)->impl : nullptr; }

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
    auto *x = static_cast<ClockRec *>(object_alloc(clock_class()));
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

void clock_delay(void *c, long ms) { clock_fdelay(c, static_cast<double>(ms)); }

void clock_unset(void *c) {
    ClockImpl *clock = clock_of(c);
    if (!clock) return;
    if (on_pd_thread())
        pdg_clock_unset(clock->pd);
    else
        post_request(Op::clock_unset, clock);
}

void clock_getftime(double *time) {
    if (time) *time = maxhost::now_ms();
}

long gettime(void) { return static_cast<long>(maxhost::now_ms()); }

t_qelem *qelem_new(void *obj, method fn) {
    auto *x = static_cast<QelemRec *>(object_alloc(qelem_class()));
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

void qelem_free(t_qelem *q) {
    if (q) object_free(q);
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
