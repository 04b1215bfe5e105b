// SPDX-License-Identifier: MIT
// demo_tiles.cpp: the four demo tiles and the grid they come from, made once per test program.
#include "fetch/demo_tiles.h"

#include <stdexcept>

#include "support/temp_dir.h"

namespace rubicel::test {

const mktiles::Grid& molaGrid() {
    static const mktiles::Grid grid = [] {
        mktiles::Grid g;
        if (auto error = mktiles::loadGrid(RUBICEL_MOLA_GRID, mktiles::kGridRows, mktiles::kGridColumns, g))
            throw std::runtime_error(*error);
        return g;
    }();
    return grid;
}

const std::filesystem::path& demoTileFolder() {
    static TempDir folder;
    static const bool built = [] {
        for (const auto& spec : mktiles::kDemoTiles)
            if (auto error = mktiles::writeTile(molaGrid(), spec, folder.path().string()))
                throw std::runtime_error(*error);
        return true;
    }();
    (void)built;
    return folder.path();
}

}  // namespace rubicel::test
