// SPDX-License-Identifier: MIT
// bench_tiles.h: the four tiles the benchmarks draw from, named by RUBICEL_BENCH_TILES.
#pragma once

#include <cstdlib>
#include <string>

#include "colour/colour_engine.h"
#include "maps/tile_file.h"
#include "windows/program.h"

namespace rubicel::bench {

inline constexpr const char* kNoBenchTiles = "set RUBICEL_BENCH_TILES to a folder holding the four tiles";

// Points p at the four tiles of the folder RUBICEL_BENCH_TILES names, with the
// default band table; false when the variable names no such folder.
inline bool pointAtBenchTiles(Program& p) {
    const char* folder = std::getenv("RUBICEL_BENCH_TILES");
    if (!folder || !*folder) return false;
    p.map.datafolder = folder;
    if (p.map.datafolder.back() != '/') p.map.datafolder += '/';
    const auto tiles = listTiles(p.map.datafolder);
    if (!tiles || tiles->size() != 4) return false;
    p.File1 = *tiles;
    initbands(p.colour);
    return true;
}

}  // namespace rubicel::bench
