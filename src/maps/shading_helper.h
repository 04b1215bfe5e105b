// SPDX-License-Identifier: MIT
// shading_helper.h: a second thread that shades one map row while the rendering reads and colours the next.
#pragma once

#include <atomic>
#include <cstdint>

namespace rubicel {

// A thread of its own that runs one task at a time, handed to it by the
// rendering that borrowed it. The relief stage gives it each row to shade as
// soon as the row below is drawn, and goes on to read and colour the next row
// on the other core; before it hands over the next row it finishes the last:
// it waits if the helper has started it, and runs it itself if not (the
// helper's thread was not on a processor in time), so a busy machine costs
// the rendering nothing but the handing over.
//
// There is one per process, lent to one rendering at a time and only on a
// machine of two or more processors, so that several renderings at once (the
// atlas's) do not crowd the processors. Between tasks of a rendering it waits
// for the next by spinning (a row comes every few microseconds), and after a
// short while without one it sleeps until the next rendering.
class ShadingHelper {
public:
    using Task = void (*)(const void* data);

    // The helper, or null when another rendering has it, the machine has one
    // processor, or the thread cannot be started (the rendering then shades
    // every row itself). Give it back with giveBack once its task is done.
    static ShadingHelper* borrow();
    void giveBack();

    // Runs task(data) on the helper's thread. The task posted before must be
    // finished (finish). data must stay valid until finish returns.
    void post(Task task, const void* data);
    // Returns once the task posted last is done, here if the helper had not started it.
    void finish();

    ShadingHelper(const ShadingHelper&) = delete;
    ShadingHelper& operator=(const ShadingHelper&) = delete;

private:
    ShadingHelper() = default;
    void run();

    std::atomic<std::uint32_t> posted_{0};   // tasks posted
    std::atomic<std::uint32_t> claimed_{0};  // tasks started, on either thread
    std::atomic<std::uint32_t> done_{0};     // tasks the helper has done
    Task task_ = nullptr;
    const void* data_ = nullptr;
    std::atomic<bool> lent_{false};
    long process_ = 0;  // the process whose thread this is: a forked child has none
};

}  // namespace rubicel
