// SPDX-License-Identifier: MIT
// sparse_tiles.cpp: full-size tile files for tests, holding only the records a case reads.
#include "support/sparse_tiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "maps/tile_file.h"

namespace rubicel::test {
namespace {

constexpr off_t kTileBytes = off_t(kTileRows) * kRecordBytes;

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
    throw std::runtime_error(what + " " + path.string() + ": " + std::strerror(errno));
}

}  // namespace

void makeSparseTile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail("cannot create", path);
    const bool sized = ::ftruncate(fd, kTileBytes) == 0;
    ::close(fd);
    if (!sized) fail("cannot size", path);
}

void writeRecord(const std::filesystem::path& path, int record,
                 const std::function<std::int16_t(int)>& value) {
    if (record < 1 || record > kTileRows) throw std::invalid_argument("record out of range");
    std::vector<unsigned char> bytes(kRecordBytes);
    for (int c = 0; c < kTileColumns; ++c) {
        const auto v = static_cast<std::uint16_t>(value(c));
        bytes[2 * c] = static_cast<unsigned char>(v >> 8);
        bytes[2 * c + 1] = static_cast<unsigned char>(v & 0xFF);
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) fail("cannot open", path);
    const off_t offset = off_t(record - 1) * kRecordBytes;
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    ::close(fd);
    if (written != ssize_t(bytes.size())) fail("cannot write", path);
}

std::array<std::filesystem::path, 4> makeSparseTileSet(const std::filesystem::path& folder) {
    std::array<std::filesystem::path, 4> paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        paths[i] = folder / kTileNames[i];
        makeSparseTile(paths[i]);
    }
    return paths;
}

}  // namespace rubicel::test
