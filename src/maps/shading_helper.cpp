// SPDX-License-Identifier: MIT
// shading_helper.cpp: the helper thread, and how the rendering and the helper wait for each other.
#include "maps/shading_helper.h"

#include <unistd.h>

#include <chrono>
#include <system_error>
#include <thread>

namespace rubicel {
namespace {

// How long a side that waits spins before it sleeps: several times the time
// between two rows, short enough to leave a busy processor soon.
constexpr auto kSpin = std::chrono::microseconds(50);

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Waits until counter no longer holds value and returns what it holds.
std::uint32_t awaitChange(const std::atomic<std::uint32_t>& counter, std::uint32_t value) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    for (unsigned spins = 1;; ++spins) {
        const std::uint32_t now = counter.load(std::memory_order_acquire);
        if (now != value) return now;
        relax();
        if (spins % 64 == 0 && Clock::now() - start > kSpin) break;
    }
    for (;;) {
        counter.wait(value, std::memory_order_acquire);
        const std::uint32_t now = counter.load(std::memory_order_acquire);
        if (now != value) return now;
    }
}

}  // namespace

ShadingHelper* ShadingHelper::borrow() {
    // Made on first use and never ended: it sleeps when no rendering needs it.
    static ShadingHelper* const helper = []() -> ShadingHelper* {
        if (std::thread::hardware_concurrency() < 2) return nullptr;
        auto* made = new ShadingHelper;
        made->process_ = long(::getpid());
        try {
            std::thread([made] { made->run(); }).detach();
        } catch (const std::system_error&) {
            delete made;
            return nullptr;
        }
        return made;
    }();
    if (!helper || helper->process_ != long(::getpid())) return nullptr;
    bool lent = false;
    if (!helper->lent_.compare_exchange_strong(lent, true, std::memory_order_acq_rel)) return nullptr;
    return helper;
}

void ShadingHelper::giveBack() { lent_.store(false, std::memory_order_release); }

void ShadingHelper::post(Task task, const void* data) {
    task_ = task;
    data_ = data;
    posted_.store(posted_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    posted_.notify_one();
}

void ShadingHelper::finish() {
    const std::uint32_t task = posted_.load(std::memory_order_relaxed);
    std::uint32_t unclaimed = task - 1;
    if (claimed_.compare_exchange_strong(unclaimed, task, std::memory_order_acq_rel)) {
        task_(data_);  // the helper has not started it: done here
        return;
    }
    std::uint32_t done = done_.load(std::memory_order_acquire);
    while (done != task) done = awaitChange(done_, done);
}

void ShadingHelper::run() {
    std::uint32_t seen = 0;
    for (;;) {
        seen = awaitChange(posted_, seen);
        // Only the task posted last can be waiting; the rendering may have taken it back.
        std::uint32_t unclaimed = seen - 1;
        if (!claimed_.compare_exchange_strong(unclaimed, seen, std::memory_order_acq_rel)) continue;
        task_(data_);
        done_.store(seen, std::memory_order_release);
        done_.notify_one();
    }
}

}  // namespace rubicel
