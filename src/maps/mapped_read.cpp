// SPDX-License-Identifier: MIT
// mapped_read.cpp: a SIGBUS raised inside a guarded copy of mapped records jumps back to its guard.
#include "maps/mapped_read.h"

#include <csetjmp>
#include <csignal>
#include <mutex>

namespace rubicel {
namespace {

// The guard of the copy this thread runs, if any. Touched by the handler, so
// it is made (and its thread-local storage allocated) before any copy runs.
thread_local sigjmp_buf* tCopyGuard = nullptr;

struct sigaction gPreviousAction {};

void onBusError(int signal, siginfo_t* info, void* context) {
    if (sigjmp_buf* guard = tCopyGuard) {
        tCopyGuard = nullptr;
        siglongjmp(*guard, 1);
    }
    // Not a guarded copy: whatever handled SIGBUS before handles it now. For
    // the default action, returning re-runs the faulting access, which faults
    // again and ends the process as it would have without this handler.
    ::sigaction(SIGBUS, &gPreviousAction, nullptr);
    if (gPreviousAction.sa_flags & SA_SIGINFO) {
        if (gPreviousAction.sa_sigaction) gPreviousAction.sa_sigaction(signal, info, context);
    } else if (gPreviousAction.sa_handler != SIG_DFL && gPreviousAction.sa_handler != SIG_IGN) {
        gPreviousAction.sa_handler(signal);
    }
}

void installHandler() {
    struct sigaction action {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &gPreviousAction);
}

}  // namespace

bool readMapped(void (*copy)(void* context), void* context) {
    static std::once_flag installed;
    std::call_once(installed, installHandler);
    sigjmp_buf guard;
    // The signal mask is saved so that the jump back unblocks SIGBUS again.
    if (sigsetjmp(guard, 1) != 0) return false;
    tCopyGuard = &guard;
    copy(context);
    tCopyGuard = nullptr;
    return true;
}

}  // namespace rubicel
