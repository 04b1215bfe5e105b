// SPDX-License-Identifier: MIT
// png_writer.cpp: a raster as an 8-bit RGB PNG file.
#include "export/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "common/file_replace.h"
#include "common/raster.h"

namespace rubicel {

namespace {

struct Sink {
    int fd;
    bool failed = false;
};

void writeBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    if (!writeAll(sink->fd, data, size)) {
        sink->failed = true;
        png_error(png, "write failed");
    }
}

void flushNothing(png_structp) {}

// The failure is reported by the caller, not printed by the library.
[[noreturn]] void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quietWarning(png_structp, png_const_charp) {}

// Encodes image into fd; false with errno set when it fails. Kept apart from any
// object with a destructor, as libpng leaves it by longjmp.
bool encode(const Raster& image, int fd, std::vector<png_byte>& row) {
    Sink sink{fd};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        errno = ENOMEM;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        if (!sink.failed) errno = EIO;
        return false;
    }
    png_set_write_fn(png, &sink, writeBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) {
        const std::uint32_t* pixel = image.row(y);
        for (int x = 0; x < image.width(); ++x) {
            row[std::size_t(3 * x)] = png_byte(redOf(pixel[x]));
            row[std::size_t(3 * x + 1)] = png_byte(greenOf(pixel[x]));
            row[std::size_t(3 * x + 2)] = png_byte(blueOf(pixel[x]));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::optional<std::string> writePng(const Raster& image, const std::string& path) {
    if (image.empty()) return "Cannot write " + path + ": a PNG file needs at least one pixel";
    std::vector<png_byte> row(std::size_t(image.width()) * 3);
    const auto failure =
        replaceFile(path, [&](int fd) { return encode(image, fd, row); }, LinkAtPath::Replace);
    if (!failure) return std::nullopt;
    return "Cannot write " + path + ": " + std::strerror(failure->error);
}

}  // namespace rubicel
