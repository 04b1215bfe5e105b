// SPDX-License-Identifier: MIT
// png_pixels.h: a PNG file's pixels as the system's libpng decodes them.
#pragma once

#include <filesystem>

#include "common/raster.h"

namespace rubicel::test {

// The file's pixels as 0xFFRRGGBB, whatever its colour type; an empty raster
// when libpng cannot read it.
Raster decodePng(const std::filesystem::path& path);

}  // namespace rubicel::test
