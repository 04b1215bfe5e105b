// SPDX-License-Identifier: MIT
// geotiff_module_entry.cpp: the one symbol the GeoTIFF module shows the programs that load it.
#include <type_traits>

#include "export/geotiff_module.h"
#include "export/geotiff_writer.h"

extern "C" __attribute__((visibility("default"))) bool rubicel_geotiff_write_2(
    int fd, const rubicel::Raster& image, const std::optional<rubicel::GeoTransform>& place) {
    return rubicel::writeTiffTo(fd, image, place);
}

static_assert(std::is_same_v<decltype(rubicel_geotiff_write_2), rubicel::GeoTiffEntry>);
