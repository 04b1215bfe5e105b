// SPDX-License-Identifier: MIT
// png_pixels.cpp: a PNG file's pixels as the system's libpng decodes them.
#include "support/png_pixels.h"

#include <png.h>

#include <vector>

namespace rubicel::test {

Raster decodePng(const std::filesystem::path& path) {
    Raster out;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return out;
    png.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) return out;
    out.reset(int(png.width), int(png.height));
    for (std::size_t i = 0; i < rgb.size() / 3; ++i)
        out.data()[i] = packRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return out;
}

}  // namespace rubicel::test
