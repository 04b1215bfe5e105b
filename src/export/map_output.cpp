// SPDX-License-Identifier: MIT
// map_output.cpp: writing a map picture in the format its file name asks for, with its place on Mars.
#include "export/map_output.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "common/bmp_writer.h"
#include "export/geotiff_writer.h"
#include "export/png_writer.h"
#include "export/world_file.h"

namespace rubicel {

std::optional<ImageFormat> formatOfName(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (lower == "bmp") return ImageFormat::Bmp;
    if (lower == "png") return ImageFormat::Png;
    if (lower == "tif" || lower == "tiff") return ImageFormat::Tiff;
    return std::nullopt;
}

std::optional<ImageFormat> formatOfPath(std::string_view path) {
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
    return formatOfName(path.substr(dot + 1));
}

const char* extensionOf(ImageFormat format) {
    switch (format) {
    case ImageFormat::Png: return ".png";
    case ImageFormat::Tiff: return ".tif";
    case ImageFormat::Bmp: break;
    }
    return ".bmp";
}

std::optional<std::string> writeMap(const Raster& image, const std::string& path, ImageFormat format,
                                    const std::optional<GeoTransform>& place, bool worldFile) {
    std::optional<std::string> failure;
    switch (format) {
    case ImageFormat::Bmp: failure = writeBmp(image, path); break;
    case ImageFormat::Png: failure = writePng(image, path); break;
    case ImageFormat::Tiff: failure = writeTiff(image, path, place); break;
    }
    if (!failure && place && worldFile) failure = writeWorldFiles(path, *place);
    return failure;
}

}  // namespace rubicel
