// SPDX-License-Identifier: MIT
// geotiff_module_entry.cpp: the one symbol the GeoTIFF module shows the programs that load it.
#include <type_traits>

#include "export/geotiff_module.h"
#include "export/geotiff_writer.h"

extern "C" __attribute__((visibility("default"))) void rubicel_geotiff_write_1(
    const rubicel::Raster& image, const std::string& path, const std::optional<rubicel::GeoTransform>& place,
    std::optional<std::string>& failure) {
    failure = rubicel::writeTiff(image, path, place);
}

static_assert(std::is_same_v<decltype(rubicel_geotiff_write_1), rubicel::GeoTiffEntry>);
