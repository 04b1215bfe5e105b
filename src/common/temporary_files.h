// SPDX-License-Identifier: MIT
// temporary_files.h: the temporary files a signal that ends the process removes first.
#pragma once

#include <string>

namespace rubicel {

// A temporary file's name held, while it lives, where a signal handler can find
// it. The file itself is neither made nor removed here: the owner removes or
// renames it, then lets the guard go. Any thread may guard names; when the table
// is full the file goes unguarded (only a signal would leave it behind).
class TemporaryGuard {
public:
    TemporaryGuard() = default;
    explicit TemporaryGuard(const std::string& path);
    ~TemporaryGuard() { release(); }
    TemporaryGuard(TemporaryGuard&& other) noexcept : slot_(other.slot_) { other.slot_ = -1; }
    TemporaryGuard& operator=(TemporaryGuard&& other) noexcept;
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;

    // The name is no longer this process's to remove.
    void release();

private:
    int slot_ = -1;
};

// Has SIGINT, SIGTERM, SIGHUP and SIGPIPE, where they are not ignored, remove
// every guarded temporary file and then end the process as the signal's default
// action does, with the status a shell reports for it. The programs call it once
// at start.
void removeTemporariesOnSignals();

}  // namespace rubicel
