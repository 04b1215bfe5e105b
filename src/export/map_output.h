// SPDX-License-Identifier: MIT
// map_output.h: writing a map picture in the format its file name asks for, with its place on Mars.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "export/geo_transform.h"

namespace rubicel {

class Raster;

enum class ImageFormat { Bmp, Png, Tiff };

// The format named by the file name's extension (.bmp, .png, .tif or .tiff, in
// any case), or nothing.
std::optional<ImageFormat> formatOfPath(std::string_view path);
// The format named by a word: bmp, png, tif or tiff.
std::optional<ImageFormat> formatOfName(std::string_view name);
// The extension a new file of format gets, with its dot.
const char* extensionOf(ImageFormat format);

// Writes image to path in format. A BMP is byte for byte what Save Map writes.
// With a place, a TIFF carries it inside and, with worldFile, a PNG or BMP (or a
// TIFF as well) gets a world file and a .prj beside it, written all or none with
// the map (FileSet). Returns a description of the failure, or nothing.
[[nodiscard]] std::optional<std::string> writeMap(const Raster& image, const std::string& path, ImageFormat format,
                                                  const std::optional<GeoTransform>& place, bool worldFile);

}  // namespace rubicel
