// SPDX-License-Identifier: MIT
// explore_bench.cpp: a wheel zoom and an arrow-key move in a window of 960 x 480 pixels, at every step.
//
// Run by hand with the tile folder in RUBICEL_BENCH_TILES, like the renderings:
// RUBICEL_BENCH_TILES=DIR build/bench/rubicel_render_bench --benchmark_filter=explore
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench_tiles.h"
#include "colour/colour_engine.h"
#include "maps/area_renderer.h"
#include "maps/drawn_map.h"
#include "maps/map_view.h"
#include "platform/headless/headless_platform.h"
#include "windows/explore.h"
#include "windows/program.h"

namespace {

using namespace rubicel;

// A map at step that fills the window over Olympus Mons, drawn once; then
// each iteration either zooms in from it (one notch, to the next finer step,
// with the pointer in the middle) or moves it east by an arrow key, and draws
// the starting map again outside the timing.
void exploreCase(benchmark::State& state, std::int16_t step, bool zoom) {
    HeadlessPlatform ui;
    ui.client = {960 * kTwipsPerPixel, 480 * kTwipsPerPixel};
    ui.outer = {990 * kTwipsPerPixel, 540 * kTwipsPerPixel};
    Program p{ui};
    if (!bench::pointAtBenchTiles(p)) return state.SkipWithError(bench::kNoBenchTiles);
    const auto box = zoomBox(-134.0, 18.0, 480.0, 240.0, 960, 480, step);
    if (!box) return state.SkipWithError("no box at this step");
    const auto start = [&] {
        p.map.areaclass = kAreaMap;
        p.map.mapsource = kFromArea;
        p.map.resolution = step;
        p.map.autoresolution = 0;
        mapfromtile(p, (*box)[0], (*box)[1], (*box)[2], (*box)[3]);
    };
    start();
    double pixels = 0;
    for (auto _ : state) {
        if (zoom) dmap_Wheel(p, 1, 480.5f, 240.5f);
        else dmap_Arrow(p, Heading::East);
        state.PauseTiming();
        const PixelExtent drawn = drawnExtent(p.dmap);
        pixels = double(drawn.width) * drawn.height;
        start();
        state.ResumeTiming();
    }
    state.counters["pixels"] = pixels;  // of the map drawn last, as a check that it was drawn whole
    if (!ui.messages.empty()) state.SkipWithError(ui.messages.front().text.c_str());
}

const int registered = [] {
    for (const std::int16_t step : {24, 13, 10, 8, 4, 3, 2}) {
        const std::string s = std::to_string(step);
        benchmark::RegisterBenchmark(("explore/zoom_in_from_step_" + s).c_str(), exploreCase, step, true)
            ->Unit(benchmark::kMillisecond);
    }
    for (const std::int16_t step : {24, 13, 10, 8, 4, 3, 2, 1}) {
        const std::string s = std::to_string(step);
        benchmark::RegisterBenchmark(("explore/move_at_step_" + s).c_str(), exploreCase, step, false)
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

}  // namespace
