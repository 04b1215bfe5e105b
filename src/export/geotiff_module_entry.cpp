// SPDX-License-Identifier: MIT
// geotiff_module_entry.cpp: the one symbol the GeoTIFF module shows the programs that load it: its handshake.
#include "export/geotiff_module.h"
#include "export/geotiff_writer.h"

namespace rubicel {
namespace {

void write(const Raster& image, const std::string& path, const std::optional<GeoTransform>& place,
           std::optional<std::string>& failure) {
    failure = writeTiff(image, path, place);
}

const GeoTiffEntries kEntries = {write};

}  // namespace
}  // namespace rubicel

RUBICEL_MODULE_HANDSHAKE(geotiff, rubicel::kGeoTiffInterfaceVersion, rubicel::kGeoTiffLayout, rubicel::kEntries)
