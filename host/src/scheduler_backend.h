// The seam between the runtime and its scheduler. The runtime (every file of host/src but
// scheduler.cpp) is built once and linked with one backend: scheduler.cpp, the host's own clocks
// and queue (command-line host, tests), or pd/scheduler_pd.cpp, which hands them to Pd.
//
// A backend defines clock_new, clock_fdelay, clock_unset, qelem_new, qelem_set, qelem_front,
// qelem_unset, systhread_ismainthread and systhread_istimerthread, and the time controls of
// maxhost/runtime.h (set_time_mode, time_mode, now_ms, advance, run_queue, shutdown). The runtime
// defines the rest of the clock and queue API over them and gives a backend what is below.
#pragma once

#include "ext.h"
#include "ext_obex.h"
#include "maxhost/runtime.h"

namespace maxhost_sched {

// Runs a clock's or queue element's task as one event: a stack overflow inside it drops what is
// left of it, and the next task starts afresh.
void run_task(method fn, void *obj);

// A clock or queue element as the API hands it out: a host object holding the backend's state.
template <typename Impl>
struct TaskRecord {
    t_object ob;
    Impl *impl;
};

t_class *task_class_new(const char *name, method release, long size);

template <typename Impl, void (*Release)(Impl *)>
void release_record(TaskRecord<Impl> *x) {
    Impl *impl = x->impl;
    x->impl = nullptr;
    if (impl) Release(impl);
}

// A record of the class `name` with no state yet (null when allocation fails); object_free (and
// clock_free, qelem_free) hands its state to Release, once.
template <typename Impl, void (*Release)(Impl *)>
TaskRecord<Impl> *new_task_record(const char *name) {
    static t_class *c =
        task_class_new(name, maxhost::as_method(release_record<Impl, Release>), sizeof(TaskRecord<Impl>));
    return static_cast<TaskRecord<Impl> *>(object_alloc(c));
}

// The state behind a record the API handed out; null for null or a released record.
template <typename Impl>
Impl *impl_of(void *record) {
    return record ? static_cast<TaskRecord<Impl> *>(record)->impl : nullptr;
}

}  // namespace maxhost_sched
