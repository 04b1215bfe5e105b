// SPDX-License-Identifier: MIT
// transfer.h: one file over HTTP(S) into NAME.part: resumed, retried with backoff, abandoned when stalled.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace rubicel::fetch {

struct TransferSettings {
    int attempts = 5;                           // per file, the first one included
    std::chrono::milliseconds backoff{2000};    // before the second attempt; doubles after each
    std::chrono::seconds stall{60};             // no byte for this long: abandoned, tried again
    std::chrono::seconds connectTimeout{30};
};

// How far one download has come; written by its thread, read by the progress display.
struct TransferCounter {
    std::atomic<std::uint64_t> have{0};      // bytes in the .part file
    std::atomic<std::uint64_t> received{0};  // bytes received in this run
};

struct TransferResult {
    bool ok = false;
    std::string url;    // the address that answered, or the last one tried
    std::string error;  // why not, when !ok
};

// Downloads the first of urls the server has (a 404 moves on to the next) into
// part, continuing from the bytes part already holds with a range request when
// size (the whole file's) is known; with size 0 part starts afresh. Connection
// failures, time-outs, stalls, short bodies and 5xx answers are tried again
// after a growing pause, each time from where the file had come; anything else
// ends at once. A body longer than maxBytes is refused. Nothing is ever deleted:
// what arrived stays in part.
TransferResult download(const std::vector<std::string>& urls, const std::filesystem::path& part,
                        std::uintmax_t size, std::uintmax_t maxBytes, const TransferSettings& settings,
                        TransferCounter& counter);

}  // namespace rubicel::fetch
