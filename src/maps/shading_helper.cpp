// SPDX-License-Identifier: MIT
// shading_helper.cpp: the helper thread, and how the rendering and the helper wait for each other.
#include "maps/shading_helper.h"

#include <unistd.h>

#include <chrono>
#include <system_error>
#include <thread>

namespace rubicel {
namespace {

using Clock = std::chrono::steady_clock;

// How long the helper spins for its next task before it sleeps: several times
// the time between two rows, short enough to leave a busy processor soon.
constexpr auto kSpin = std::chrono::microseconds(50);
// How long a task may keep the rendering waiting before the helper counts as
// away (taken off its processor by other work): far longer than a row takes.
constexpr auto kPatience = std::chrono::milliseconds(1);
// Borrowings refused after a late task.
constexpr int kRefusals = 8;

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Waits until counter no longer holds value and returns what it holds,
// spinning at most spin before it sleeps; late is set when it had to sleep.
std::uint32_t awaitChange(const std::atomic<std::uint32_t>& counter, std::uint32_t value, Clock::duration spin,
                          bool* late = nullptr) {
    const Clock::time_point start = Clock::now();
    for (unsigned spins = 1;; ++spins) {
        const std::uint32_t now = counter.load(std::memory_order_acquire);
        if (now != value) return now;
        relax();
        if (spins % 64 == 0 && Clock::now() - start > spin) break;
    }
    if (late) *late = true;
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
    for (int refusals = helper->refusals_.load(std::memory_order_relaxed); refusals > 0;)
        if (helper->refusals_.compare_exchange_weak(refusals, refusals - 1, std::memory_order_relaxed))
            return nullptr;
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

bool ShadingHelper::wait() {
    const std::uint32_t target = posted_.load(std::memory_order_relaxed);
    std::uint32_t done = done_.load(std::memory_order_acquire);
    bool late = false;
    while (done != target) done = awaitChange(done_, done, kPatience, &late);
    if (late) refusals_.store(kRefusals, std::memory_order_relaxed);
    return !late;
}

void ShadingHelper::run() {
    std::uint32_t seen = 0;
    for (;;) {
        seen = awaitChange(posted_, seen, kSpin);
        task_(data_);
        done_.store(seen, std::memory_order_release);
        done_.notify_one();
    }
}

}  // namespace rubicel
