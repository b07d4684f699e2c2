// Threads and mutexes on POSIX threads. (systhread_ismainthread and systhread_istimerthread live
// with the scheduler, which decides what the main and timer threads are.)
#include "ext_mess.h"
#include "ext_systhread.h"

#include <pthread.h>

#ifndef PTHREAD_STACK_MIN
#define PTHREAD_STACK_MIN 16384  // Windows' pthreads leave it out
#endif
#include <time.h>

#include <cerrno>
#include <climits>
#include <cstdint>

namespace {

struct ThreadRec {
    pthread_t thread;
    method entry;
    void *arg;
    void *result;
    bool detached;  // nobody joins it: the thread frees its own record
};

void *thread_main(void *p) {
    auto *rec = static_cast<ThreadRec *>(p);
    rec->result = rec->entry(rec->arg);
    if (rec->detached) delete rec;
    return nullptr;
}

}  // namespace

extern "C" {

long systhread_mutex_new(t_systhread_mutex *pmutex, long flags) {
    if (!pmutex) return MAX_ERR_INVALID_PTR;
    *pmutex = nullptr;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    int type = PTHREAD_MUTEX_NORMAL;
    if (flags & SYSTHREAD_MUTEX_RECURSIVE)
        type = PTHREAD_MUTEX_RECURSIVE;
    else if (flags & SYSTHREAD_MUTEX_ERRORCHECK)
        type = PTHREAD_MUTEX_ERRORCHECK;
    pthread_mutexattr_settype(&attr, type);
    auto *m = new pthread_mutex_t;
    int err = pthread_mutex_init(m, &attr);
    pthread_mutexattr_destroy(&attr);
    if (err) {
        delete m;
        return err;
    }
    *pmutex = m;
    return MAX_ERR_NONE;
}

long systhread_mutex_free(t_systhread_mutex pmutex) {
    if (!pmutex) return MAX_ERR_INVALID_PTR;
    auto *m = static_cast<pthread_mutex_t *>(pmutex);
    int err = pthread_mutex_destroy(m);
    delete m;
    return err;
}

long systhread_mutex_lock(t_systhread_mutex pmutex) {
    if (!pmutex) return MAX_ERR_INVALID_PTR;
    return pthread_mutex_lock(static_cast<pthread_mutex_t *>(pmutex));
}

long systhread_mutex_trylock(t_systhread_mutex pmutex) {
    if (!pmutex) return MAX_ERR_INVALID_PTR;
    return pthread_mutex_trylock(static_cast<pthread_mutex_t *>(pmutex));  // 0 or EBUSY
}

long systhread_mutex_unlock(t_systhread_mutex pmutex) {
    if (!pmutex) return MAX_ERR_INVALID_PTR;
    return pthread_mutex_unlock(static_cast<pthread_mutex_t *>(pmutex));
}

long systhread_create(method entryproc, void *arg, long stacksize, long priority, long flags,
                      t_systhread *thread) {
    (void)priority;  // scheduling priorities need privileges; every thread runs at the default
    (void)flags;
    if (!entryproc) return MAX_ERR_INVALID_PTR;
    auto *rec = new ThreadRec{};
    rec->entry = entryproc;
    rec->arg = arg;
    rec->detached = (thread == nullptr);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    if (rec->detached) pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    if (stacksize > 0) {
        size_t size = static_cast<size_t>(stacksize);
        if (size < static_cast<size_t>(PTHREAD_STACK_MIN)) size = PTHREAD_STACK_MIN;
        pthread_attr_setstacksize(&attr, size);
    }
    int err = pthread_create(&rec->thread, &attr, thread_main, rec);
    pthread_attr_destroy(&attr);
    if (err) {
        delete rec;
        if (thread) *thread = nullptr;
        return err;
    }
    if (thread) *thread = rec;  // a detached record may already be gone: not touched again
    return MAX_ERR_NONE;
}

long systhread_join(t_systhread thread, unsigned int *retval) {
    if (!thread) return MAX_ERR_INVALID_PTR;
    auto *rec = static_cast<ThreadRec *>(thread);
    int err = pthread_join(rec->thread, nullptr);
    if (err) return err;
    if (retval) *retval = static_cast<unsigned int>(reinterpret_cast<uintptr_t>(rec->result));
    delete rec;
    return MAX_ERR_NONE;
}

void systhread_sleep(long milliseconds) {
    if (milliseconds <= 0) return;
    timespec ts;
    ts.tv_sec = milliseconds / 1000;
    ts.tv_nsec = (milliseconds % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
    }
}

}  // extern "C"
