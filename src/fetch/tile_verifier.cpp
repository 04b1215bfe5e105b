// SPDX-License-Identifier: MIT
// tile_verifier.cpp: whether a folder's tiles are whole: size, label and content, tile by tile.
#include "fetch/tile_verifier.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "common/positional_io.h"
#include "common/unique_fd.h"
#include "fetch/pds_label.h"
#include "maps/tile_file.h"

namespace rubicel::fetch {
namespace {

namespace fs = std::filesystem;

constexpr int kRecordsPerRead = 64;
constexpr std::uintmax_t kMaxLabelBytes = 1 << 20;

}  // namespace

bool TileReport::good(bool labelRequired) const {
    if (path.empty() || size != kTileBytes || !readError.empty() || !content || !content->passes()) return false;
    return label == LabelState::Good || (label == LabelState::Absent && !labelRequired);
}

std::string TileReport::text(bool labelRequired) const {
    std::string t = std::string(tile->name) + ": ";
    if (path.empty()) return t + "missing; verdict: BAD";
    t += groupedDigits(size) + " bytes" + (size == kTileBytes ? "" : " (not " + groupedDigits(kTileBytes) + ")");
    switch (label) {
    case LabelState::Absent: t += labelRequired ? "; label missing" : "; label absent (not judged)"; break;
    case LabelState::Good: t += "; label good"; break;
    case LabelState::Bad:
        t += "; label wrong:";
        for (const auto& p : labelProblems) t += " " + p + ";";
        t.pop_back();
        break;
    }
    if (!readError.empty()) t += "; " + readError;
    else if (content) t += std::string("; content ") + (content->passes() ? "as the grid" : "NOT as the grid") + " (" + content->text() + ")";
    else t += "; content not checked";
    return t + "; verdict: " + (good(labelRequired) ? "good" : "BAD");
}

LabelState checkLabelFile(const fs::path& path, const TileProduct& tile, std::vector<std::string>& problems) {
    problems.clear();
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return LabelState::Absent;
    const auto size = fs::file_size(path, ec);
    if (ec || size > kMaxLabelBytes) {
        problems.push_back(ec ? "cannot read " + path.string() : path.string() + " is too large for a label");
        return LabelState::Bad;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        problems.push_back("cannot read " + path.string());
        return LabelState::Bad;
    }
    const auto label = PdsLabel::parse(text);
    if (!label) {
        problems.push_back(path.string() + " is not a PDS label");
        return LabelState::Bad;
    }
    problems = checkLabel(*label, tile);
    return problems.empty() ? LabelState::Good : LabelState::Bad;
}

void checkTileFile(const mktiles::Grid& grid, TileReport& report) {
    report.content.reset();
    report.readError.clear();
    const UniqueFd fd(::open(report.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        report.readError = !fd ? "cannot open it: " + std::string(std::strerror(errno)) : "not an ordinary file";
        return;
    }
    report.size = std::uintmax_t(info.st_size);
    if (report.size != kTileBytes) return;
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    ContentCheck check(grid, *report.tile);
    std::vector<unsigned char> block(std::size_t(kRecordsPerRead) * kRecordBytes);
    for (int first = 0; first < kTileRows; first += kRecordsPerRead) {
        const PositionalIo io = preadAll(fd.get(), block.data(), block.size(), off_t(first) * kRecordBytes);
        if (io.bytes < block.size()) {
            report.readError = "cannot read it: " + std::string(io.error != 0 ? std::strerror(io.error) : "it ended early");
            return;
        }
        for (int r = 0; r < kRecordsPerRead; ++r)
            check.addRecord(first + r, std::span(block).subspan(std::size_t(r) * kRecordBytes, kRecordBytes));
    }
    report.content = check.result();
}

fs::path findEntry(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(folder / name, ec)) return folder / name;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (upperCase(it->path().filename().string()) == upperCase(name)) return it->path();
    return {};
}

bool FolderReport::good() const {
    if (!problems.empty()) return false;
    for (const auto& t : tiles)
        if (!t.good(false)) return false;
    return true;
}

FolderReport verifyFolder(const fs::path& folder, const mktiles::Grid& grid) {
    FolderReport report;
    const auto listed = listTiles(folder.string());
    if (!listed) {
        report.problems.push_back("cannot list the folder " + folder.string());
    } else if (listed->size() != kTileProducts.size()) {
        std::string names;
        for (const auto& n : *listed) names += " " + n;
        report.problems.push_back("the folder holds " + std::to_string(listed->size()) +
                                  " files whose names begin with \"megt\"" + (names.empty() ? "" : " (" + names.substr(1) + ")") +
                                  "; the desktop program needs exactly the four tiles");
    }
    for (const auto& tile : kTileProducts) {
        TileReport& t = report.tiles.emplace_back();
        t.tile = &tile;
        fs::path label = findEntry(folder / kLabelFolder, labelName(tile));
        if (label.empty()) label = findEntry(folder, labelName(tile));
        if (!label.empty()) t.label = checkLabelFile(label, tile, t.labelProblems);
        t.path = findEntry(folder, tile.name);
        if (!t.path.empty()) checkTileFile(grid, t);
    }
    return report;
}

}  // namespace rubicel::fetch
