// SPDX-License-Identifier: MIT
// tile_file.cpp: the MEGDR064 tile files: decoding, finding the tile of a point, listing and reading tiles.
#include "maps/tile_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "common/positional_io.h"
#include "common/rounding.h"
#include "maps/map_state.h"

namespace rubicel {
namespace {

struct TileBounds {
    std::int16_t west, east, top, bottom;
};

// Tile index to bounds: 0 south-east, 1 south-west, 2 north-east, 3 north-west.
constexpr std::array<TileBounds, 4> kTileBounds = {{
    {0, 180, 0, -90},
    {-180, 0, 0, -90},
    {0, 180, 90, 0},
    {-180, 0, 90, 0},
}};

// Positions far outside any tile come only from bounds that FindTile never
// leaves; they are held here so that differences of two positions still fit.
constexpr double kPositionLimit = double(1 << 30);

int roundedPosition(double x) {
    if (std::isnan(x)) return int(kPositionLimit);
    return int(roundHalfEven(std::clamp(x, -kPositionLimit, kPositionLimit)));
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Compares two names letter by letter without regard to case; names equal
// apart from case keep a fixed order by their bytes.
bool nameLess(const std::string& a, const std::string& b) {
    const auto diff = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                    [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
    if (diff.first == a.end() || diff.second == b.end()) {
        if (a.size() != b.size()) return a.size() < b.size();
        return a < b;
    }
    return static_cast<unsigned char>(lowerAscii(*diff.first)) <
           static_cast<unsigned char>(lowerAscii(*diff.second));
}

bool hasTilePrefix(const std::string& name) {
    const std::string_view prefix = kTilePrefix;
    if (name.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(name[i]) != prefix[i]) return false;
    return true;
}

std::string recordText(const std::string& path, int record) {
    return path + ", record " + std::to_string(record);
}

// The error of records from first on that a file of size bytes does not hold
// whole, naming the first of them.
std::string pastEndText(const std::string& path, off_t size, int first) {
    return "Input past end of file: " + recordText(path, int(std::max<off_t>(size / kRecordBytes + 1, first)));
}

}  // namespace

std::int16_t byteswap(std::int16_t& v) {
    // The buffer holds the stored bytes; on a little-endian machine the first
    // (more significant) stored byte lands in the low half.
    if constexpr (std::endian::native == std::endian::little) {
        const auto u = static_cast<std::uint16_t>(v);
        v = static_cast<std::int16_t>(static_cast<std::uint16_t>((u << 8) | (u >> 8)));
    }
    return v;
}

std::int16_t FindTile(MapState& state, std::int16_t x, std::int16_t Y) {
    for (int i = 0; i <= 15; ++i) {
        const TileBounds& b = kTileBounds[std::min(i, 3)];
        state.tilewest = b.west;
        state.tileeast = b.east;
        state.tiletop = b.top;
        state.tilebottom = b.bottom;
        if (state.tilewest <= x && x < state.tileeast && state.tilebottom < Y && Y <= state.tiletop)
            return static_cast<std::int16_t>(i);
    }
    return 0;  // the bounds stay those of the north-west tile
}

int rowPosition(const MapState& state, double latitude) {
    assert(state.tiletop != state.tilebottom);
    const double fraction = (double(state.tiletop) - latitude) / (double(state.tiletop) - double(state.tilebottom));
    return roundedPosition(fraction * kTileRows);
}

int columnPosition(const MapState& state, double longitude) {
    assert(state.tileeast != state.tilewest);
    const double fraction = (longitude - double(state.tilewest)) / (double(state.tileeast) - double(state.tilewest));
    return roundedPosition(fraction * kLastColumn);
}

std::optional<std::vector<std::string>> listTiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return std::nullopt;
    std::vector<std::string> names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) return std::nullopt;
        std::string name = it->path().filename().string();
        if (!hasTilePrefix(name)) continue;
        std::error_code typeError;
        // Follows symbolic links: a link to an ordinary file counts as one.
        if (!it->is_regular_file(typeError) || typeError) continue;
        names.push_back(std::move(name));
    }
    if (ec) return std::nullopt;
    std::sort(names.begin(), names.end(), nameLess);
    return names;
}

std::optional<std::string> TileFile::open(const std::string& path) {
    close();
    path_ = path;
    // Non-blocking so that a named pipe cannot hold the open; it is refused below.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) return "File not found: " + path;
        return "Path/File access error: " + path + " (" + std::strerror(error) + ")";
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        const int error = errno;
        return "Path/File access error: " + path + " (" + std::strerror(error) + ")";
    }
    if (S_ISDIR(info.st_mode)) return "Path/File access error: " + path + " is a folder";
    if (!S_ISREG(info.st_mode)) return "Path/File access error: " + path + " is not an ordinary file";
    fd_ = std::move(fd);
    return std::nullopt;
}

std::optional<std::string> TileFile::readRecord(int record, RowBuffer& row) {
    static_assert(sizeof(RowBuffer) == kRecordBytes);
    return readSamples(record, 0, kTileColumns, row.data());
}

std::optional<std::string> TileFile::readSamples(int record, int first, int count, std::int16_t* samples) {
    assert(first >= 0 && count >= 0 && first + count <= kTileColumns);
    if (!fd_) return "Bad file name or number: " + recordText(path_, record) + " (file not open)";
    if (record < 1) return "Bad record number: " + recordText(path_, record);
    const std::size_t size = std::size_t(count) * sizeof(std::int16_t);
    const off_t start = off_t(record - 1) * kRecordBytes + off_t(first) * off_t(sizeof(std::int16_t));
    const PositionalIo io = preadAll(fd_.get(), samples, size, start);
    if (io.error != 0)
        return "Device I/O error: " + recordText(path_, record) + " (" + std::strerror(io.error) + ")";
    if (io.bytes < size) return "Input past end of file: " + recordText(path_, record);
    return std::nullopt;
}

std::optional<std::string> TileFile::mapRecords(int first, int last, const std::int16_t*& rows) {
    unmap();
    if (!fd_) return "Bad file name or number: " + recordText(path_, first) + " (file not open)";
    if (first < 1 || last < first) return "Bad record number: " + recordText(path_, first);
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0)
        return "Device I/O error: " + recordText(path_, first) + " (" + std::strerror(errno) + ")";
    // A mapped page past the end of the file cannot be read at all.
    const off_t end = off_t(last) * kRecordBytes;
    if (info.st_size < end) return pastEndText(path_, info.st_size, first);
    const off_t start = off_t(first - 1) * kRecordBytes;
    const off_t page = off_t(::sysconf(_SC_PAGESIZE));
    const off_t base = start / page * page;
    const std::size_t bytes = std::size_t(end - base);
    void* at = ::mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE, fd_.get(), base);
    if (at == MAP_FAILED) {
        const int error = errno;
        return "Device I/O error: " + recordText(path_, first) + " (" + std::strerror(error) + ")";
    }
    mapped_ = at;
    mappedBytes_ = bytes;
    mappedFirst_ = first;
    mappedLast_ = last;
    // The pages come in the order the map needs them, not from front to back.
    (void)::madvise(at, bytes, MADV_WILLNEED);
    rows = reinterpret_cast<const std::int16_t*>(static_cast<const char*>(at) + (start - base));
    return std::nullopt;
}

std::optional<std::string> TileFile::mappedFault() const {
    if (!mapped_) return std::nullopt;
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0)
        return "Device I/O error: " + recordText(path_, mappedFirst_) + " (" + std::strerror(errno) + ")";
    if (info.st_size < off_t(mappedLast_) * kRecordBytes)
        return pastEndText(path_, info.st_size, mappedFirst_) + " (the file was cut short while it was read)";
    return std::nullopt;
}

void TileFile::unmap() {
    if (mapped_) ::munmap(mapped_, mappedBytes_);
    mapped_ = nullptr;
    mappedBytes_ = 0;
}

void TileFile::willNeed(int first, int count, int step) const {
    if (!fd_ || first < 1 || count < 1 || step < 1) return;
    const auto advise = [this](int record, int records) {
        (void)::posix_fadvise(fd_.get(), off_t(record - 1) * kRecordBytes, off_t(records) * kRecordBytes,
                              POSIX_FADV_WILLNEED);
    };
    if (step <= kSpanStep) return advise(first, (count - 1) * step + 1);
    for (int i = 0; i < count; ++i) advise(first + i * step, 1);
}

void TileFile::close() {
    unmap();
    fd_.reset();
}

}  // namespace rubicel
