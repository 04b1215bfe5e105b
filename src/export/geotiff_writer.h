// SPDX-License-Identifier: MIT
// geotiff_writer.h: a raster as a deflate-compressed RGB TIFF, with its place on Mars when it has one.
#pragma once

#include <optional>
#include <string>

#include "export/geo_transform.h"

namespace rubicel {

class Raster;

// Writes image to path, replacing an existing file whole or not at all. With a
// transform the file is a GeoTIFF: tie point, pixel scale and the keys of the
// Mars geographic coordinate system. Returns a description of the failure, or
// nothing. The writer is built into the GeoTIFF module; the programs' writeTiff
// (geotiff_loader.cpp) loads that module on its first call and hands it on.
[[nodiscard]] std::optional<std::string> writeTiff(const Raster& image, const std::string& path,
                                                   const std::optional<GeoTransform>& place);

}  // namespace rubicel
