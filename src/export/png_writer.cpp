// SPDX-License-Identifier: MIT
// png_writer.cpp: a raster as an 8-bit RGB PNG file.
#include "export/png_writer.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include "common/file_replace.h"
#include "common/raster.h"

namespace rubicel {

namespace {

// Where the bytes go: the open file fd, or memory when it is given.
struct Sink {
    int fd;
    bool failed = false;
    std::vector<unsigned char>* memory = nullptr;
};

void writeBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    if (sink->memory) {
        // No exception may cross libpng's frames.
        try {
            sink->memory->insert(sink->memory->end(), data, data + size);
            return;
        } catch (const std::bad_alloc&) {
            sink->failed = true;
            errno = ENOMEM;
            png_error(png, "out of memory");
        }
    }
    if (!writeAll(sink->fd, data, size)) {
        sink->failed = true;
        png_error(png, "write failed");
    }
}

void flushNothing(png_structp) {}

// The failure is reported by the caller, not printed by the library.
[[noreturn]] void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quietWarning(png_structp, png_const_charp) {}

}  // namespace

// What one file being written holds. The steps that call into libpng are kept
// apart from any object with a destructor, as libpng leaves them by longjmp.
struct PngRows::State {
    Sink sink;
    int width, height;
    png_uint_32 dotsPerMetre = 0;  // 0: the file says nothing of its resolution
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_byte> row;
};

namespace {

// Ends the file after a failure; errno says why.
void fail(PngRows::State& s) {
    png_destroy_write_struct(&s.png, &s.info);
    s.png = nullptr;
    s.info = nullptr;
    if (!s.sink.failed) errno = EIO;
}

bool startFile(PngRows::State& s) {
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    s.info = s.png ? png_create_info_struct(s.png) : nullptr;
    if (!s.info) {
        png_destroy_write_struct(&s.png, nullptr);
        s.png = nullptr;
        errno = ENOMEM;
        return false;
    }
    if (setjmp(png_jmpbuf(s.png))) {
        fail(s);
        return false;
    }
    png_set_write_fn(s.png, &s.sink, writeBytes, flushNothing);
    png_set_IHDR(s.png, s.info, png_uint_32(s.width), png_uint_32(s.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (s.dotsPerMetre > 0) png_set_pHYs(s.png, s.info, s.dotsPerMetre, s.dotsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(s.png, s.info);
    return true;
}

bool writeRowOf(PngRows::State& s) {
    if (setjmp(png_jmpbuf(s.png))) {
        fail(s);
        return false;
    }
    png_write_row(s.png, s.row.data());
    return true;
}

bool endFile(PngRows::State& s) {
    if (setjmp(png_jmpbuf(s.png))) {
        fail(s);
        return false;
    }
    png_write_end(s.png, s.info);
    png_destroy_write_struct(&s.png, &s.info);
    s.png = nullptr;
    s.info = nullptr;
    return true;
}

}  // namespace

PngRows::PngRows(int fd, int width, int height) : s_(new State{Sink{fd}, width, height, 0, nullptr, nullptr, {}}) {
    s_->row.resize(std::size_t(width) * 3);
}

PngRows::PngRows(std::vector<unsigned char>& memory, int width, int height) : PngRows(-1, width, height) {
    s_->sink.memory = &memory;
}

PngRows::~PngRows() {
    if (s_->png) png_destroy_write_struct(&s_->png, &s_->info);
}

void PngRows::setResolution(int dotsPerInch) {
    s_->dotsPerMetre = dotsPerInch > 0 ? png_uint_32(std::nearbyint(dotsPerInch / 0.0254)) : 0;
}

bool PngRows::writeHeader() { return startFile(*s_); }

bool PngRows::writeRow(const std::uint32_t* pixel) {
    State& s = *s_;
    if (!s.png) {
        errno = EIO;
        return false;
    }
    for (int x = 0; x < s.width; ++x) {
        s.row[std::size_t(3 * x)] = png_byte(redOf(pixel[x]));
        s.row[std::size_t(3 * x + 1)] = png_byte(greenOf(pixel[x]));
        s.row[std::size_t(3 * x + 2)] = png_byte(blueOf(pixel[x]));
    }
    return writeRowOf(s);
}

bool PngRows::finish() {
    if (!s_->png) {
        errno = EIO;
        return false;
    }
    return endFile(*s_);
}

namespace {

bool writeWhole(PngRows& png, const Raster& image, int height) {
    if (!png.writeHeader()) return false;
    for (int y = 0; y < height; ++y)
        if (!png.writeRow(image.row(y))) return false;
    return png.finish();
}

}  // namespace

bool writePngTo(int fd, const Raster& image, int dotsPerInch) {
    PngRows png(fd, image.width(), image.height());
    png.setResolution(dotsPerInch);
    return writeWhole(png, image, image.height());
}

std::vector<unsigned char> pngBytes(const Raster& image, int width, int height) {
    width = std::clamp(width, 0, image.width());
    height = std::clamp(height, 0, image.height());
    std::vector<unsigned char> bytes;
    if (width == 0 || height == 0) return bytes;
    PngRows png(bytes, width, height);
    if (!writeWhole(png, image, height)) bytes.clear();
    return bytes;
}

std::optional<std::string> writePng(const Raster& image, const std::string& path, int dotsPerInch) {
    if (image.empty()) return "Cannot write " + path + ": a PNG file needs at least one pixel";
    const auto failure = replaceFile(
        path, [&image, dotsPerInch](int fd) { return writePngTo(fd, image, dotsPerInch); }, LinkAtPath::Replace);
    if (!failure) return std::nullopt;
    return describeFailure(*failure);
}

}  // namespace rubicel
