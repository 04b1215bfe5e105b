// SPDX-License-Identifier: MIT
// fetcher.cpp: the four tiles and their labels from an archive into a folder, each verified before it takes its name.
#include "fetch/fetcher.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

#include "common/unique_fd.h"

namespace rubicel::fetch {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxLabelBytes = 1 << 20;
constexpr std::uintmax_t kSpareBytes = 16'000'000;  // room left for everything else

std::vector<std::string> addresses(const std::string& baseUrl, const std::string& name) {
    std::string base = baseUrl;
    if (!base.empty() && base.back() != '/') base += '/';
    return {base + name, base + upperCase(name)};
}

// Makes what was written durable before and after it takes its name.
bool syncPath(const fs::path& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return fd && ::fsync(fd.get()) == 0;
}

std::string why(const std::string& what, const fs::path& path) {
    return "cannot " + what + " " + path.string() + ": " + std::strerror(errno);
}

class Fetcher {
public:
    Fetcher(const FetchOptions& options, const mktiles::Grid& grid, FetchStatus& status, const Notice& notice)
        : o_(options), grid_(grid), status_(status), notice_(notice) {}

    FetchOutcome run();

private:
    void say(const std::string& line, bool failure) {
        const std::lock_guard lock(mutex_);
        notice_(line, failure);
    }
    void fail(std::size_t i, const std::string& line) {
        status_[i].stage = TileStatus::Failed;
        say(line, true);
    }
    bool fetchLabel(std::size_t i);
    void downloadTile(std::size_t i);

    const FetchOptions& o_;
    const mktiles::Grid& grid_;
    FetchStatus& status_;
    const Notice& notice_;
    std::mutex mutex_;
    FetchOutcome outcome_;
};

bool Fetcher::fetchLabel(std::size_t i) {
    const TileProduct& tile = kTileProducts[i];
    const fs::path labels = o_.folder / kLabelFolder;
    const fs::path final = labels / labelName(tile);
    TileReport& report = outcome_.reports[i];
    report.label = checkLabelFile(final, tile, report.labelProblems);
    if (report.label == LabelState::Good) return true;
    status_[i].stage = TileStatus::Label;
    const fs::path part = partPath(labels, labelName(tile));
    TransferCounter ignored;
    const TransferResult got = download(addresses(o_.baseUrl, labelName(tile)), part, 0, kMaxLabelBytes, o_.transfer, ignored);
    if (!got.ok) {
        fail(i, labelName(tile) + ": " + got.url + ": " + got.error);
        return false;
    }
    report.label = checkLabelFile(part, tile, report.labelProblems);
    if (report.label != LabelState::Good) {
        std::string problems;
        for (const auto& p : report.labelProblems) problems += "; " + p;
        fs::remove(part);
        fail(i, labelName(tile) + ": " + got.url + ": the label does not describe " + tile.name + problems);
        return false;
    }
    if (!syncPath(part) || ::rename(part.c_str(), final.c_str()) != 0) {
        fail(i, labelName(tile) + ": " + why("name", final));
        return false;
    }
    return true;
}

void Fetcher::downloadTile(std::size_t i) {
    const TileProduct& tile = kTileProducts[i];
    TileStatus& status = status_[i];
    const fs::path part = partPath(o_.folder, tile.name), final = o_.folder / tile.name;
    std::error_code ec;
    const auto had = fs::is_regular_file(part, ec) ? fs::file_size(part, ec) : 0;
    status.resumedFrom = ec || had > kTileBytes ? 0 : had;
    status.downloadStarted = std::chrono::steady_clock::now().time_since_epoch().count();
    status.stage = TileStatus::Downloading;
    const TransferResult got = download(addresses(o_.baseUrl, tile.name), part, kTileBytes, kTileBytes, o_.transfer, status.bytes);
    if (!got.ok) {
        const auto kept = fs::is_regular_file(part, ec) ? fs::file_size(part, ec) : 0;
        fail(i, std::string(tile.name) + ": " + got.url + ": " + got.error +
                    (kept && !ec ? "; the " + groupedDigits(kept) + " bytes so far stay in " + part.string() + " for the next run" : ""));
        return;
    }
    status.stage = TileStatus::Verifying;
    TileReport& report = outcome_.reports[i];
    report.path = part;
    if (!syncPath(part)) {
        fail(i, std::string(tile.name) + ": " + why("write", part));
        return;
    }
    checkTileFile(grid_, report);
    if (!report.good(true)) {
        const std::string text = report.text(true);
        report.path.clear();
        fs::remove(part, ec);
        fail(i, std::string(tile.name) + ": " + got.url + ": refused, removed: " + text.substr(text.find(": ") + 2));
        return;
    }
    if (::rename(part.c_str(), final.c_str()) != 0 || !syncPath(o_.folder)) {
        report.path.clear();
        fail(i, std::string(tile.name) + ": " + why("name", final));
        return;
    }
    report.path = final;
    status.stage = TileStatus::Done;
    const double seconds = double(std::chrono::steady_clock::now().time_since_epoch().count() - status.downloadStarted) / 1e9;
    const std::string came = status.bytes.received == 0
                                 ? "whole from an earlier run"
                                 : groupedDigits(status.bytes.received) + " bytes from " + got.url + " in " +
                                       std::to_string(int(seconds + 0.5)) + " s";
    say(std::string(tile.name) + ": " + came + "; verified (" + report.content->text() + ")", false);
}

FetchOutcome Fetcher::run() {
    std::error_code ec;
    fs::create_directories(o_.folder / kLabelFolder, ec);
    if (ec) {
        say("cannot make the folder " + (o_.folder / kLabelFolder).string() + ": " + ec.message(), true);
        for (auto& s : status_) s.stage = TileStatus::Failed;
        return std::move(outcome_);
    }
    // Labels first (small), then the tiles already there: what is good stays.
    std::vector<std::size_t> wanted;
    std::uintmax_t needed = kSpareBytes;
    for (std::size_t i = 0; i < kTileProducts.size(); ++i) {
        TileReport& report = outcome_.reports[i];
        report.tile = &kTileProducts[i];
        if (!fetchLabel(i)) continue;
        const fs::path final = o_.folder / kTileProducts[i].name;
        if (fs::exists(final, ec)) {
            status_[i].stage = TileStatus::Checking;
            report.path = final;
            checkTileFile(grid_, report);
            if (report.good(true)) {
                status_[i].stage = TileStatus::Done;
                say(std::string(kTileProducts[i].name) + ": already here and verified", false);
                continue;
            }
            say(report.text(true) + "; fetching it again", false);
            report.path.clear();
            report.content.reset();
        }
        const fs::path part = partPath(o_.folder, kTileProducts[i].name);
        const auto had = fs::is_regular_file(part, ec) ? fs::file_size(part, ec) : 0;
        needed += kTileBytes - (ec || had > kTileBytes ? 0 : had);
        wanted.push_back(i);
    }
    if (!wanted.empty()) {
        struct statvfs space {};
        if (::statvfs(o_.folder.c_str(), &space) == 0 && std::uintmax_t(space.f_bavail) * space.f_frsize < needed) {
            const auto megabytes = [](std::uintmax_t b) { return groupedDigits((b + 999'999) / 1'000'000) + " MB"; };
            for (const auto i : wanted) status_[i].stage = TileStatus::Failed;
            say("not enough free space in " + o_.folder.string() + ": the " + std::to_string(wanted.size()) +
                    " tiles still to fetch need " + megabytes(needed) + ", " +
                    megabytes(std::uintmax_t(space.f_bavail) * space.f_frsize) + " are free",
                true);
            return std::move(outcome_);
        }
    }
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> jobs;
    const int count = std::clamp(o_.jobs, 1, int(std::max<std::size_t>(wanted.size(), 1)));
    for (int j = 0; j < count; ++j)
        jobs.emplace_back([&] {
            for (std::size_t k; (k = next++) < wanted.size();) downloadTile(wanted[k]);
        });
    for (auto& job : jobs) job.join();
    outcome_.ok = std::all_of(status_.begin(), status_.end(), [](const TileStatus& s) { return s.stage == TileStatus::Done; });
    return std::move(outcome_);
}

}  // namespace

fs::path partPath(const fs::path& folder, const std::string& name) { return folder / ("." + name + ".part"); }

FetchOutcome fetchTiles(const FetchOptions& options, const mktiles::Grid& grid, FetchStatus& status,
                        const Notice& notice) {
    return Fetcher(options, grid, status, notice).run();
}

}  // namespace rubicel::fetch
