// SPDX-License-Identifier: MIT
// png_writer.h: a raster as an 8-bit RGB PNG file.
#pragma once

#include <optional>
#include <string>

namespace rubicel {

class Raster;

// Writes image to path, replacing an existing file whole or not at all. Returns a
// description of the failure, or nothing.
[[nodiscard]] std::optional<std::string> writePng(const Raster& image, const std::string& path);

}  // namespace rubicel
