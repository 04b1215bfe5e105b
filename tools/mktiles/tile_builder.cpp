// SPDX-License-Identifier: MIT
// tile_builder.cpp: builds 64 pixels-per-degree tiles from a coarse global grid by bilinear interpolation.
#include "tile_builder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/file_replace.h"
#include "common/rounding.h"
#include "maps/tile_file.h"

namespace rubicel::mktiles {
namespace {

std::string errorText(int error) { return std::strerror(error); }

// Rows are gathered into blocks so that each write moves about 1.5 MB.
constexpr int kRowsPerWrite = 64;
static_assert(kTileRows % kRowsPerWrite == 0);

}  // namespace

std::optional<std::string> loadGrid(const std::string& path, int rows, int columns, Grid& grid) {
    assert(rows > 0 && columns == 2 * rows);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "cannot open the grid " + path + ": " + errorText(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return "the grid " + path + " is not an ordinary file";
    }
    const std::size_t samples = std::size_t(rows) * columns;
    if (std::uintmax_t(info.st_size) != samples * 2) {
        ::close(fd);
        return "the grid " + path + " holds " + std::to_string(info.st_size) + " bytes, not the " +
               std::to_string(samples * 2) + " of " + std::to_string(rows) + " rows of " + std::to_string(columns) +
               " big-endian 16-bit samples";
    }
    std::vector<unsigned char> bytes(samples * 2);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string why = n < 0 ? errorText(errno) : "the file ended early";
            ::close(fd);
            return "cannot read the grid " + path + ": " + why;
        }
        done += std::size_t(n);
    }
    ::close(fd);

    grid.rows = rows;
    grid.columns = columns;
    grid.heights.resize(samples);
    for (std::size_t k = 0; k < samples; ++k)
        grid.heights[k] = static_cast<std::int16_t>(std::uint16_t(bytes[2 * k] << 8 | bytes[2 * k + 1]));
    return std::nullopt;
}

RowInterpolator::RowInterpolator(const Grid& grid, double west, double samplesPerDegree, int count)
    : grid_(grid), left_(count), right_(count), rightWeight_(count) {
    const double ppd = grid.samplesPerDegree();
    for (int c = 0; c < count; ++c) {
        const double longitude = west + (c + 0.5) / samplesPerDegree;
        // Grid column j is centred at (j + ½)/ppd, so the position in columns
        // measured from the centre of column 0 is longitude × ppd - ½.
        const double position = longitude * ppd - 0.5;
        const double j0 = std::floor(position);
        const auto wrap = [&](double j) {
            const int m = int(std::fmod(j, double(grid.columns)));
            return m < 0 ? m + grid.columns : m;
        };
        left_[c] = wrap(j0);
        right_[c] = wrap(j0 + 1);
        rightWeight_[c] = position - j0;
    }
    for (auto& row : cached_) row.resize(std::size_t(count));
}

const std::vector<double>& RowInterpolator::alongRow(int gridRow, int slot) {
    std::vector<double>& out = cached_[slot];
    if (cachedRow_[slot] == gridRow) return out;
    const std::int16_t* heights = grid_.heights.data() + std::size_t(gridRow) * grid_.columns;
    for (std::size_t c = 0; c < out.size(); ++c) {
        const double a = heights[left_[c]];
        const double b = heights[right_[c]];
        out[c] = a + (b - a) * rightWeight_[c];
    }
    cachedRow_[slot] = gridRow;
    return out;
}

void RowInterpolator::row(double latitude, std::span<std::int16_t> out) {
    assert(out.size() == left_.size());
    const double position = (90.0 - latitude) * grid_.samplesPerDegree() - 0.5;
    const double i0 = std::floor(position);
    const double lowerWeight = position - i0;
    // Beyond the outermost row centres both rows are the outermost one.
    const int upper = int(std::clamp(i0, 0.0, double(grid_.rows - 1)));
    const int lower = int(std::clamp(i0 + 1, 0.0, double(grid_.rows - 1)));
    // Keep each grid row in the slot of its parity, so that stepping one grid
    // row south reuses the row computed last time.
    const std::vector<double>& a = alongRow(upper, upper & 1);
    const std::vector<double>& b = upper == lower ? a : alongRow(lower, lower & 1);
    for (std::size_t c = 0; c < out.size(); ++c) {
        const double v = a[c] + (b[c] - a[c]) * lowerWeight;
        out[c] = static_cast<std::int16_t>(roundHalfEven(v));  // a blend of 16-bit values stays in range
    }
}

std::optional<std::string> writeTile(const Grid& grid, const TileSpec& spec, const std::string& folder,
                                     const Progress& progress) {
    namespace fs = std::filesystem;
    const fs::path finalPath = fs::path(folder) / spec.name;
    const fs::path tempPath = fs::path(folder) / (std::string(".partial-") + spec.name);

    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return "cannot write in " + folder + ": " + errorText(errno);
    const auto fail = [&](const std::string& what) -> std::optional<std::string> {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return what;
    };

    RowInterpolator interpolator(grid, spec.west, kOutputSamplesPerDegree, kTileColumns);
    std::vector<std::int16_t> samples(kTileColumns);
    std::vector<unsigned char> block(std::size_t(kRowsPerWrite) * kRecordBytes);
    for (int first = 0; first < kTileRows; first += kRowsPerWrite) {
        unsigned char* out = block.data();
        for (int r = first; r < first + kRowsPerWrite; ++r) {
            interpolator.row(rowLatitude(spec.top, r), samples);
            for (const std::int16_t s : samples) {
                const auto u = static_cast<std::uint16_t>(s);
                *out++ = static_cast<unsigned char>(u >> 8);
                *out++ = static_cast<unsigned char>(u & 0xFF);
            }
        }
        if (!writeAll(fd, block.data(), block.size())) return fail("cannot write " + tempPath.string() + ": " + errorText(errno));
        if (progress) progress(first + kRowsPerWrite, kTileRows);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        return "cannot write " + tempPath.string() + ": " + errorText(error);
    }
    if (::rename(tempPath.c_str(), finalPath.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        return "cannot name " + finalPath.string() + ": " + errorText(error);
    }
    return std::nullopt;
}

}  // namespace rubicel::mktiles
