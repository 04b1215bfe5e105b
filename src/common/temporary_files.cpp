// SPDX-License-Identifier: MIT
// temporary_files.cpp: the temporary files a signal that ends the process removes first.
#include "common/temporary_files.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace rubicel {

namespace {

// Enough for every drawing thread of an atlas on a large machine, each with a
// map, its side files and their backups at once.
constexpr int kSlots = 1024;

// Each slot holds a name of its own (a copy), or nothing. The handler only reads
// the slots and calls unlink, both safe in a signal handler.
std::atomic<char*> slots[kSlots];
static_assert(std::atomic<char*>::is_always_lock_free, "the handler reads the slots");
// Set as the handler starts: from then on no name is freed, so the handler
// never reads a name freed under it.
std::atomic<bool> ending{false};

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

void removeAndEnd(int signal) {
    ending.store(true);
    for (auto& slot : slots)
        if (const char* path = slot.load()) ::unlink(path);
    // The signal is held back while its handler runs: once the handler returns,
    // the default action ends the process.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

TemporaryGuard::TemporaryGuard(const std::string& path) {
    char* copy = new char[path.size() + 1];
    std::memcpy(copy, path.c_str(), path.size() + 1);
    for (int i = 0; i < kSlots; ++i) {
        char* empty = nullptr;
        if (slots[i].compare_exchange_strong(empty, copy)) {
            slot_ = i;
            return;
        }
    }
    delete[] copy;
}

TemporaryGuard& TemporaryGuard::operator=(TemporaryGuard&& other) noexcept {
    if (this != &other) {
        release();
        slot_ = other.slot_;
        other.slot_ = -1;
    }
    return *this;
}

void TemporaryGuard::release() {
    if (slot_ < 0) return;
    char* path = slots[slot_].exchange(nullptr);
    slot_ = -1;
    // A handler that has started may still be reading it; the process ends anyway.
    if (!ending.load()) delete[] path;
}

void removeTemporariesOnSignals() {
    struct sigaction action {};
    action.sa_handler = removeAndEnd;
    sigemptyset(&action.sa_mask);
    // A second signal waits until the first has removed the files.
    for (const int s : kSignals) sigaddset(&action.sa_mask, s);
    for (const int s : kSignals) {
        struct sigaction old {};
        // An ignored signal stays ignored (nohup, a shell's background job), and
        // a handler of someone else's stays theirs.
        if (::sigaction(s, nullptr, &old) == 0 && !(old.sa_flags & SA_SIGINFO) && old.sa_handler == SIG_DFL)
            ::sigaction(s, &action, nullptr);
    }
}

}  // namespace rubicel
