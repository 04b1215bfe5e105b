// SPDX-License-Identifier: MIT
// progress_display.h: rubicel-fetch's progress on standard error: a live block on a terminal, lines otherwise.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "fetch/fetcher.h"

namespace rubicel::fetch {

class ProgressDisplay {
public:
    // Terminal: one line per tile (bytes, rate, time left) and a total, redrawn in
    // place. Lines: one line per finished file. Quiet: failures only.
    enum class Mode { Terminal, Lines, Quiet };

    ProgressDisplay(Mode mode, std::FILE* out, const FetchStatus& status) : mode_(mode), out_(out), status_(status) {}

    // A finished file or a failure; on a terminal it goes above the block.
    void notice(const std::string& line, bool failure);
    // Draws the block again (terminal only); called a few times a second.
    void refresh();

private:
    void drawBlock();

    Mode mode_;
    std::FILE* out_;
    const FetchStatus& status_;
    std::mutex mutex_;
    int blockLines_ = 0;
};

}  // namespace rubicel::fetch
