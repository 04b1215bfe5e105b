// SPDX-License-Identifier: MIT
// geotiff_module.h: what the programs and the GeoTIFF module agree on: its file, its entry points and their data.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "common/loadable_module.h"
#include "common/raster.h"
#include "export/geo_transform.h"
#include "export/geotiff_writer.h"

namespace rubicel {

// The GeoTIFF writer and the libraries it needs (libtiff, libgeotiff and, through
// it, PROJ with its network stack) live in this module, loaded with the first
// TIFF a program writes, so a program that writes none maps none of them.

// writeTiffTo() of the module; the program opens, replaces and cleans up the file.
using GeoTiffWrite = TiffWriter;

// The module's entry points.
struct GeoTiffEntries {
    GeoTiffWrite* write;
};

// Raise when an entry point's signature or meaning changes, or a passed type
// changes in a way its sizes and offsets below do not show (Raster's members
// swapped, say).
inline constexpr std::uint32_t kGeoTiffInterfaceVersion = 3;

// Every type the entry points pass, as this build lays it out.
inline constexpr std::uint64_t kGeoTiffLayout = layoutKey({
    sizeof(Raster), alignof(Raster),
    sizeof(GeoTransform), alignof(GeoTransform), offsetof(GeoTransform, west), offsetof(GeoTransform, north),
    offsetof(GeoTransform, pixelWidth), offsetof(GeoTransform, pixelHeight), offsetof(GeoTransform, pole),
    sizeof(std::optional<GeoTransform>),
    sizeof(GeoTiffEntries),
});

inline constexpr ModuleInterface kGeoTiffModule = {
    "GeoTIFF", "librubicel-geotiff.so", RUBICEL_MODULE_SYMBOL_NAME(geotiff), kGeoTiffInterfaceVersion, kGeoTiffLayout,
};

}  // namespace rubicel
