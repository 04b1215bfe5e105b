// SPDX-License-Identifier: MIT
// fetcher.h: the four tiles and their labels from an archive into a folder, each verified before it takes its name.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fetch/tile_verifier.h"
#include "fetch/transfer.h"

namespace rubicel::fetch {

struct FetchOptions {
    std::filesystem::path folder;
    std::string baseUrl = kDefaultBaseUrl;
    int jobs = 2;  // tiles downloaded at once
    TransferSettings transfer;
};

// Where each tile has come; written by the download threads, read by the display.
struct TileStatus {
    enum Stage { Waiting, Label, Checking, Downloading, Verifying, Done, Failed };
    std::atomic<Stage> stage{Waiting};
    TransferCounter bytes;
    std::atomic<std::uint64_t> resumedFrom{0};      // bytes the .part held when its download began
    std::atomic<std::int64_t> downloadStarted{0};   // steady clock, nanoseconds
};
using FetchStatus = std::array<TileStatus, 4>;

// One line for the user: a finished file, or a failure (file, address, why).
using Notice = std::function<void(const std::string& line, bool failure)>;

struct FetchOutcome {
    std::array<TileReport, 4> reports;  // of the tiles as they now lie under their names
    bool ok = false;                    // all four there and good
};

// The hidden file a download goes to before it takes `name`: beside it, not
// beginning with "megt", so the desktop program's folder check never counts it.
std::filesystem::path partPath(const std::filesystem::path& folder, const std::string& name);

// Fetches into options.folder the labels (into labels/) and the tiles that are
// not already there and good, resuming what earlier runs left in .part files;
// refuses to start the tiles when the file system has not room for them. Good
// tiles and the final names are never touched by a failure. Notices may come
// from several threads, one at a time.
FetchOutcome fetchTiles(const FetchOptions& options, const mktiles::Grid& grid, FetchStatus& status,
                        const Notice& notice);

}  // namespace rubicel::fetch
