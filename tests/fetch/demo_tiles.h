// SPDX-License-Identifier: MIT
// demo_tiles.h: the shipped 4 pixels-per-degree grid and the four demo tiles built from it, once per test program.
#pragma once

#include <stdexcept>

#include "support/temp_dir.h"
#include "tile_builder.h"

namespace rubicel::test {

inline const mktiles::Grid& molaGrid() {
    static const mktiles::Grid grid = [] {
        mktiles::Grid g;
        if (auto error = mktiles::loadGrid(RUBICEL_MOLA_GRID, mktiles::kGridRows, mktiles::kGridColumns, g))
            throw std::runtime_error(*error);
        return g;
    }();
    return grid;
}

// A folder holding the four demo tiles (no labels), made on first use.
inline const std::filesystem::path& demoTileFolder() {
    static const TempDir folder;
    static const bool built = [] {
        for (const auto& spec : mktiles::kDemoTiles)
            if (auto error = mktiles::writeTile(molaGrid(), spec, folder.path().string())) throw std::runtime_error(*error);
        return true;
    }();
    return built ? folder.path() : folder.path();
}

}  // namespace rubicel::test
