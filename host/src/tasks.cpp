// The clock and queue functions that every scheduler backend shares (scheduler_backend.h).
#include "scheduler_backend.h"

#include "core_internal.h"
#include "svc_internal.h"

namespace maxhost_sched {

void run_task(method fn, void *obj) {
    maxhost_core::EventScope event;
    fn(obj);
}

t_class *task_class_new(const char *name, method release, long size) {
    return maxhost_svc::make_internal_class(name, release, size);
}

}  // namespace maxhost_sched

extern "C" {

void clock_delay(void *c, long ms) { clock_fdelay(c, static_cast<double>(ms)); }

void clock_getftime(double *time) {
    if (time) *time = maxhost::now_ms();
}

long gettime(void) { return static_cast<long>(maxhost::now_ms()); }

void qelem_free(t_qelem *q) {
    if (q) object_free(q);
}

}  // extern "C"
