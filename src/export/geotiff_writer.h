// SPDX-License-Identifier: MIT
// geotiff_writer.h: a raster as a deflate-compressed RGB TIFF, with its place on Mars when it has one.
#pragma once

#include <optional>
#include <string>

#include "export/geo_transform.h"

namespace rubicel {

class Raster;

// Writes image as a TIFF into the open file fd, a regular file it seeks in.
// With a transform the file is a GeoTIFF: tie point, pixel scale and the keys of
// the Mars geographic coordinate system. False with errno set when it fails. The
// writer is built into the GeoTIFF module; the programs have it through
// tiffWriter() (geotiff_loader.cpp), which loads that module on its first call.
bool writeTiffTo(int fd, const Raster& image, const std::optional<GeoTransform>& place);

using TiffWriter = bool(int fd, const Raster& image, const std::optional<GeoTransform>& place);

// The programs' writeTiffTo, or nothing, with why in problem, when the module
// cannot be loaded.
TiffWriter* tiffWriter(std::string& problem);

}  // namespace rubicel
