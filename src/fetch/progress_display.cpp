// SPDX-License-Identifier: MIT
// progress_display.cpp: rubicel-fetch's progress on standard error: a live block on a terminal, lines otherwise.
#include "fetch/progress_display.h"

#include <algorithm>
#include <chrono>

namespace rubicel::fetch {
namespace {

std::string megabytes(double bytes) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f MB", bytes / 1e6);
    return buffer;
}

// "  45.2 MB of 132.7 MB, 12.3 MB/s, 0:07 left"
std::string amounts(double have, double total, double received, double seconds) {
    std::string t = megabytes(have) + " of " + megabytes(total);
    if (seconds < 0.5 || received <= 0) return t;
    const double rate = received / seconds;
    char buffer[64];
    const long left = long((total - have) / rate + 0.5);
    std::snprintf(buffer, sizeof buffer, ", %.1f MB/s, %ld:%02ld left", rate / 1e6, left / 60, left % 60);
    return t + buffer;
}

}  // namespace

void ProgressDisplay::notice(const std::string& line, bool failure) {
    const std::lock_guard lock(mutex_);
    if (mode_ == Mode::Quiet && !failure) return;
    if (mode_ == Mode::Terminal && blockLines_ > 0) std::fprintf(out_, "\x1b[%dA", blockLines_);
    std::fprintf(out_, "%s%s\n", line.c_str(), mode_ == Mode::Terminal ? "\x1b[K" : "");
    if (mode_ == Mode::Terminal && blockLines_ > 0) drawBlock();
    std::fflush(out_);
}

void ProgressDisplay::refresh() {
    const std::lock_guard lock(mutex_);
    if (mode_ != Mode::Terminal) return;
    if (blockLines_ > 0) std::fprintf(out_, "\x1b[%dA", blockLines_);
    drawBlock();
    std::fflush(out_);
}

void ProgressDisplay::drawBlock() {
    static const char* const kStages[] = {"waiting", "label", "checking", "downloading", "verifying", "done", "FAILED"};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    double have = 0, total = 0, received = 0;
    std::int64_t first = 0;
    for (std::size_t i = 0; i < status_.size(); ++i) {
        const TileStatus& s = status_[i];
        const auto stage = s.stage.load();
        std::string line = std::string(kTileProducts[i].name) + "  " + kStages[stage];
        const std::int64_t started = s.downloadStarted;
        if (started != 0) {
            const double h = double(s.bytes.have), r = double(s.bytes.received);
            line += "  " + amounts(h, double(kTileBytes), r, double(now - started) / 1e9);
            have += h - double(s.resumedFrom);
            total += double(kTileBytes - s.resumedFrom);
            received += r;
            first = first == 0 ? started : std::min(first, started);
        }
        std::fprintf(out_, "%s\x1b[K\n", line.c_str());
    }
    const std::string all = first == 0 ? "nothing to download yet" : amounts(have, total, received, double(now - first) / 1e9);
    std::fprintf(out_, "total             %s\x1b[K\n", all.c_str());
    blockLines_ = int(status_.size()) + 1;
}

}  // namespace rubicel::fetch
