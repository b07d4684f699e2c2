/* Threads and mutexes. */
#ifndef MAXHOST_EXT_SYSTHREAD_H
#define MAXHOST_EXT_SYSTHREAD_H

#include "ext_prefix.h"

BEGIN_USING_C_LINKAGE

typedef void *t_systhread;
typedef void *t_systhread_mutex;

typedef enum e_max_systhread_mutex_flags {
    SYSTHREAD_MUTEX_NORMAL = 0x00000000,
    SYSTHREAD_MUTEX_ERRORCHECK = 0x00000001,
    SYSTHREAD_MUTEX_RECURSIVE = 0x00000002
} e_max_systhread_mutex_flags;

long systhread_mutex_new(t_systhread_mutex *pmutex, long flags);
long systhread_mutex_free(t_systhread_mutex pmutex);
long systhread_mutex_lock(t_systhread_mutex pmutex);
/** 0 when the lock was taken, non-zero when another holder has it. */
long systhread_mutex_trylock(t_systhread_mutex pmutex);
long systhread_mutex_unlock(t_systhread_mutex pmutex);

long systhread_create(method entryproc, void *arg, long stacksize, long priority, long flags,
                      t_systhread *thread);
long systhread_join(t_systhread thread, unsigned int *retval);
void systhread_sleep(long milliseconds);
short systhread_ismainthread(void);
short systhread_istimerthread(void);

END_USING_C_LINKAGE

#endif
