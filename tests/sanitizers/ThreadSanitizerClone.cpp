// Linked into the tests, and the tessary-cli they run, only when they are built with
// ThreadSanitizer.
//
// QProcess starts a program through clone(CLONE_VM | CLONE_VFORK): the child borrows the
// parent's memory and its thread's storage until it calls exec. GCC 12's ThreadSanitizer takes
// every clone for a fork, and in the child marks the process as one forked from many threads:
// with memory shared, that mark lands in the parent, whose calling thread is then ignored (no
// race it takes part in is reported), and whose next new thread ends the program ("starting new
// threads after multi-threaded fork is not supported"). A clone that shares memory is no fork,
// so this one passes it straight to the C library, and any other clone to ThreadSanitizer.

#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

extern "C" {

int __clone(int (*fn)(void *), void *stack, int flags, void *arg, ...);
int __interceptor_clone(int (*fn)(void *), void *stack, int flags, void *arg, pid_t *parentTid,
                        void *tls, pid_t *childTid);

int clone(int (*fn)(void *), void *stack, int flags, void *arg, ...) {
    va_list rest;
    va_start(rest, arg);
    auto *const parentTid = va_arg(rest, pid_t *);
    void *const tls = va_arg(rest, void *);
    auto *const childTid = va_arg(rest, pid_t *);
    va_end(rest);
    if ((flags & CLONE_VM) != 0)
        return __clone(fn, stack, flags, arg, parentTid, tls, childTid);
    return __interceptor_clone(fn, stack, flags, arg, parentTid, tls, childTid);
}

} // extern "C"
