// SPDX-License-Identifier: MIT
// geotiff_module.h: what the programs and the GeoTIFF module agree on: its file name and its entry point.
#pragma once

#include <optional>
#include <string>

#include "export/geo_transform.h"

namespace rubicel {

class Raster;

// The GeoTIFF writer and the libraries it needs (libtiff, libgeotiff and, through
// it, PROJ with its network stack) live in this module, loaded with the first
// TIFF a program writes, so a program that writes none maps none of them.
inline constexpr const char* kGeoTiffModuleName = "librubicel-geotiff.so";

// The entry point's name carries the version of its signature, so a module of
// another build is refused instead of called wrongly.
inline constexpr const char* kGeoTiffEntryName = "rubicel_geotiff_write_2";

// writeTiffTo() of the module; the program opens, replaces and cleans up the file.
using GeoTiffEntry = bool(int fd, const Raster& image, const std::optional<GeoTransform>& place);

}  // namespace rubicel
