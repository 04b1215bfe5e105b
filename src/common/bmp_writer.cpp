// SPDX-License-Identifier: MIT
// bmp_writer.cpp: a raster as a 24-bit uncompressed Windows bitmap, for both programs.
#include "common/bmp_writer.h"


#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "common/file_replace.h"
#include "common/positional_io.h"
#include "common/raster.h"

namespace rubicel {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kHeaderBytes = kFileHeaderBytes + kInfoHeaderBytes;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

std::size_t rowBytes(int width) { return (std::size_t(std::max(0, width)) * 3 + 3) & ~std::size_t(3); }
std::size_t rowBytes(const Raster& image) { return rowBytes(image.width()); }

void put16(unsigned char* at, std::uint16_t v) {
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(v >> (8 * i));
}

// BITMAPFILEHEADER and BITMAPINFOHEADER, little-endian.
void writeHeaders(int width, int height, unsigned char* h) {
    const std::size_t imageBytes = rowBytes(width) * std::size_t(height);
    std::memset(h, 0, kHeaderBytes);
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, std::uint32_t(kHeaderBytes + imageBytes));
    put32(h + 10, std::uint32_t(kHeaderBytes));
    put32(h + 14, std::uint32_t(kInfoHeaderBytes));
    put32(h + 18, std::uint32_t(width));
    put32(h + 22, std::uint32_t(height));  // positive: bottom-up rows
    put16(h + 26, 1);                              // planes
    put16(h + 28, 24);                             // bits per pixel
    put32(h + 30, 0);                              // no compression
    put32(h + 34, std::uint32_t(imageBytes));
    put32(h + 38, std::uint32_t(kPixelsPerMetre));
    put32(h + 42, std::uint32_t(kPixelsPerMetre));
}

// Writes picture row y as blue, green, red triples followed by zero padding.
void packRow(const std::uint32_t* pixel, int width, unsigned char* out) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t v = pixel[x];
        out[0] = static_cast<unsigned char>(v);
        out[1] = static_cast<unsigned char>(v >> 8);
        out[2] = static_cast<unsigned char>(v >> 16);
        out += 3;
    }
    for (std::size_t pad = std::size_t(width) * 3; pad % 4 != 0; ++pad) *out++ = 0;
}

}  // namespace

// Writes the whole file to the open descriptor, a band of rows at a time.
bool writeBmpTo(int fd, const Raster& image) {
    unsigned char header[kHeaderBytes];
    writeHeaders(image.width(), image.height(), header);
    if (!writeAll(fd, header, kHeaderBytes)) return false;
    const std::size_t stride = rowBytes(image);
    if (stride == 0) return true;
    const std::size_t bandRows = std::max<std::size_t>(1, (std::size_t(1) << 20) / stride);
    std::vector<unsigned char> band(bandRows * stride);
    std::size_t filled = 0;
    for (int y = image.height() - 1; y >= 0; --y) {
        packRow(image.row(y), image.width(), band.data() + filled);
        filled += stride;
        if (filled == band.size() || y == 0) {
            if (!writeAll(fd, band.data(), filled)) return false;
            filled = 0;
        }
    }
    return true;
}

std::vector<unsigned char> bmpBytes(const Raster& image) {
    const std::size_t stride = rowBytes(image);
    std::vector<unsigned char> bytes(kHeaderBytes + stride * std::size_t(image.height()));
    writeHeaders(image.width(), image.height(), bytes.data());
    unsigned char* out = bytes.data() + kHeaderBytes;
    for (int y = image.height() - 1; y >= 0; --y, out += stride) packRow(image.row(y), image.width(), out);
    return bytes;
}

BmpRows::BmpRows(int fd, int width, int height)
    : fd_(fd), width_(width), height_(height), stride_(rowBytes(width)),
      bandRows_(std::max<std::size_t>(1, (std::size_t(1) << 20) / std::max<std::size_t>(1, stride_))),
      band_(bandRows_ * stride_) {}

bool BmpRows::writeHeader() {
    unsigned char header[kHeaderBytes];
    writeHeaders(width_, height_, header);
    const PositionalIo io = pwriteAll(fd_, header, kHeaderBytes, 0);
    if (io.error != 0) errno = io.error;
    return io.error == 0;
}

bool BmpRows::writeRow(int y, const std::uint32_t* pixels) {
    // Rows y, y + 1, ... lie backwards one after the other in the file: a band of
    // them is filled from its end and written in one piece.
    if (held_ > 0 && (y != first_ + int(held_) || held_ == bandRows_) && !flush()) return false;
    if (held_ == 0) first_ = y;
    packRow(pixels, width_, band_.data() + (bandRows_ - 1 - held_) * stride_);
    ++held_;
    return true;
}

bool BmpRows::flush() {
    if (held_ == 0) return true;
    const int last = first_ + int(held_) - 1;
    const off_t at = off_t(kHeaderBytes + std::size_t(height_ - 1 - last) * stride_);
    const PositionalIo io = pwriteAll(fd_, band_.data() + (bandRows_ - held_) * stride_, held_ * stride_, at);
    held_ = 0;
    if (io.error != 0) errno = io.error;
    return io.error == 0;
}

std::optional<std::string> writeBmp(const Raster& image, const std::string& path) {
    const auto failure =
        replaceFile(path, [&image](int fd) { return writeBmpTo(fd, image); }, LinkAtPath::Replace);
    if (!failure) return std::nullopt;
    return describeFailure(*failure);
}

}  // namespace rubicel
