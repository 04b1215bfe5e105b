// SPDX-License-Identifier: MIT
// map_output.cpp: writing a map picture in the format its file name asks for, with its place on Mars.
#include "export/map_output.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "common/bmp_writer.h"
#include "common/file_replace.h"
#include "common/raster.h"
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
    if (format != ImageFormat::Bmp && image.empty())
        return "Cannot write " + path + ": a " + (format == ImageFormat::Png ? "PNG" : "TIFF") +
               " file needs at least one pixel";
    TiffWriter* tiff = nullptr;
    if (format == ImageFormat::Tiff) {
        std::string problem;
        if (!(tiff = tiffWriter(problem))) return "Cannot write " + path + ": " + problem;
    }
    const auto write = [&](int fd) {
        switch (format) {
        case ImageFormat::Png: return writePngTo(fd, image);
        case ImageFormat::Tiff: return tiff(fd, image, place);
        case ImageFormat::Bmp: break;
        }
        return writeBmpTo(fd, image);
    };
    // The map and its side files are written all or none.
    FileSet files;
    auto failure =
        files.write(path, write, LinkAtPath::Replace, format == ImageFormat::Tiff ? Writes::AnyOrder : Writes::InOrder);
    if (!failure && place && worldFile) failure = writeWorldFiles(files, path, *place);
    if (!failure) failure = files.commit();
    if (!failure) return std::nullopt;
    return describeFailure(*failure);
}

}  // namespace rubicel
