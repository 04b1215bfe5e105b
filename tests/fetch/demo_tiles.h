// SPDX-License-Identifier: MIT
// demo_tiles.h: the four demo tiles and the grid they come from, made once per test program.
#pragma once

#include <filesystem>

#include "tile_builder.h"

namespace rubicel::test {

// The shipped 4 pixels-per-degree grid.
const mktiles::Grid& molaGrid();

// A folder holding the four demo tiles built from it (no labels), made on first use.
const std::filesystem::path& demoTileFolder();

}  // namespace rubicel::test
