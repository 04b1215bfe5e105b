// SPDX-License-Identifier: MIT
// readout_bench.cpp: one pointer move over a finished map, along its row and onto a new row.
//
// Run by hand with the tile folder in RUBICEL_BENCH_TILES, like the renderings:
// RUBICEL_BENCH_TILES=DIR build/bench/rubicel_render_bench --benchmark_filter=readout
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench_tiles.h"
#include "colour/colour_engine.h"
#include "maps/area_renderer.h"
#include "maps/pointer_readout.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace {

using namespace rubicel;

// Olympus Mons at step 3 (640 x 597 pixels), drawn once. Moves go along the
// map's rows: newRow moves one row down every move, so each one reads a record.
void readoutCase(benchmark::State& state, bool newRow) {
    HeadlessPlatform ui;
    Program p{ui};
    if (!bench::pointAtBenchTiles(p)) return state.SkipWithError(bench::kNoBenchTiles);
    p.map.resolution = 3;
    p.map.mapsource = kFromArea;
    mapfromtile(p, -150, 30, -120, 2);
    int x = 0, y = 0;
    for (auto _ : state) {
        dmap_MouseMove(p, float(x), float(y));
        benchmark::DoNotOptimize(ui.pointerText.data());
        x = (x + 7) % 640;
        if (newRow) y = (y + 1) % 597;
    }
    if (ui.pointerText.empty()) state.SkipWithError("no read-out");
}

const int registered = [] {
    benchmark::RegisterBenchmark("readout/same_row", readoutCase, false)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("readout/new_row", readoutCase, true)->Unit(benchmark::kMicrosecond);
    return 0;
}();

}  // namespace
