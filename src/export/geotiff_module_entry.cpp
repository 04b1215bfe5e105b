// SPDX-License-Identifier: MIT
// geotiff_module_entry.cpp: the one symbol the GeoTIFF module shows the programs that load it: its handshake.
#include "export/geotiff_module.h"
#include "export/geotiff_writer.h"

namespace rubicel {
namespace {

const GeoTiffEntries kEntries = {writeTiffTo};

}  // namespace
}  // namespace rubicel

RUBICEL_MODULE_HANDSHAKE(geotiff, rubicel::kGeoTiffInterfaceVersion, rubicel::kGeoTiffLayout, rubicel::kEntries)
