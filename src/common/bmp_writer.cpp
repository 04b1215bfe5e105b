// SPDX-License-Identifier: MIT
// bmp_writer.cpp: a raster as a 24-bit uncompressed Windows bitmap, for both programs.
#include "common/bmp_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "common/raster.h"

namespace rubicel {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kHeaderBytes = kFileHeaderBytes + kInfoHeaderBytes;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

std::size_t rowBytes(const Raster& image) { return (std::size_t(image.width()) * 3 + 3) & ~std::size_t(3); }

void put16(unsigned char* at, std::uint16_t v) {
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(v >> (8 * i));
}

// BITMAPFILEHEADER and BITMAPINFOHEADER, little-endian.
void writeHeaders(const Raster& image, unsigned char* h) {
    const std::size_t imageBytes = rowBytes(image) * std::size_t(image.height());
    std::memset(h, 0, kHeaderBytes);
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, std::uint32_t(kHeaderBytes + imageBytes));
    put32(h + 10, std::uint32_t(kHeaderBytes));
    put32(h + 14, std::uint32_t(kInfoHeaderBytes));
    put32(h + 18, std::uint32_t(image.width()));
    put32(h + 22, std::uint32_t(image.height()));  // positive: bottom-up rows
    put16(h + 26, 1);                              // planes
    put16(h + 28, 24);                             // bits per pixel
    put32(h + 30, 0);                              // no compression
    put32(h + 34, std::uint32_t(imageBytes));
    put32(h + 38, std::uint32_t(kPixelsPerMetre));
    put32(h + 42, std::uint32_t(kPixelsPerMetre));
}

// Writes picture row y as blue, green, red triples followed by zero padding.
void packRow(const Raster& image, int y, unsigned char* out) {
    const std::uint32_t* pixel = image.row(y);
    const int width = image.width();
    for (int x = 0; x < width; ++x) {
        const std::uint32_t v = pixel[x];
        out[0] = static_cast<unsigned char>(v);
        out[1] = static_cast<unsigned char>(v >> 8);
        out[2] = static_cast<unsigned char>(v >> 16);
        out += 3;
    }
    for (std::size_t pad = std::size_t(width) * 3; pad % 4 != 0; ++pad) *out++ = 0;
}

std::string systemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

bool writeAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// Writes the whole file to the open descriptor, a band of rows at a time.
bool writeImage(int fd, const Raster& image) {
    unsigned char header[kHeaderBytes];
    writeHeaders(image, header);
    if (!writeAll(fd, header, kHeaderBytes)) return false;
    const std::size_t stride = rowBytes(image);
    if (stride == 0) return true;
    const std::size_t bandRows = std::max<std::size_t>(1, (std::size_t(1) << 20) / stride);
    std::vector<unsigned char> band(bandRows * stride);
    std::size_t filled = 0;
    for (int y = image.height() - 1; y >= 0; --y) {
        packRow(image, y, band.data() + filled);
        filled += stride;
        if (filled == band.size() || y == 0) {
            if (!writeAll(fd, band.data(), filled)) return false;
            filled = 0;
        }
    }
    return true;
}

}  // namespace

std::vector<unsigned char> bmpBytes(const Raster& image) {
    const std::size_t stride = rowBytes(image);
    std::vector<unsigned char> bytes(kHeaderBytes + stride * std::size_t(image.height()));
    writeHeaders(image, bytes.data());
    unsigned char* out = bytes.data() + kHeaderBytes;
    for (int y = image.height() - 1; y >= 0; --y, out += stride) packRow(image, y, out);
    return bytes;
}

std::optional<std::string> writeBmp(const Raster& image, const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string hidden(".");
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string temp = (folder / hidden).string();

    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return systemError("Cannot create a temporary file beside", path);
    // mkstemp makes the file private; give it the mode a newly created file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    std::optional<std::string> failure;
    if (!writeImage(fd, image)) failure = systemError("Cannot write", path);
    else if (::fsync(fd) != 0) failure = systemError("Cannot write", path);
    if (::close(fd) != 0 && !failure) failure = systemError("Cannot write", path);
    if (!failure && ::rename(temp.c_str(), path.c_str()) != 0) failure = systemError("Cannot replace", path);
    if (failure) {
        ::unlink(temp.c_str());
        return failure;
    }
    // Make the rename itself durable.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

}  // namespace rubicel
