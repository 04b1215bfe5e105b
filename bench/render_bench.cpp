// SPDX-License-Identifier: MIT
// render_bench.cpp: whole renderings on four full-size tiles, each beside its floor loop.
//
// Run by hand with the tile folder in RUBICEL_BENCH_TILES (for example the demo
// tiles of rubicel-mktiles); the files should be in the page cache, which the
// first, untimed rendering of each case sees to. The cold/ cases drop the
// tiles' pages (posix_fadvise DONTNEED) before each rendering, so every record
// comes from the disk; they count the read-ahead advice calls as well. The
// relief/ cases are the render/ cases with relief shading on at its defaults;
// both give wall-clock time and the processor time of the whole process, as
// the shading runs partly on a second thread. The furniture/ case is the
// render/ case of the planet at step 24 with the graticule, place names,
// landing sites and scale bar laid out and painted over each map (target: at
// most 1.5 times the render/ case). On a busy machine compare the
// best of interleaved runs: --benchmark_repetitions=15
// --benchmark_enable_random_interleaving=true.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_tiles.h"
#include "colour/colour_engine.h"
#include "export/furniture_drawing.h"
#include "maps/area_renderer.h"
#include "maps/polar_renderer.h"
#include "maps/resolution.h"
#include "maps/tile_renderer.h"
#include "platform/headless/headless_platform.h"
#include "render_plan.h"
#include "windows/program.h"

namespace {

using namespace rubicel;
using bench::MapCase;

// A program pointed at the tiles, scheme 1 and blended shading.
struct Setup {
    HeadlessPlatform ui;
    Program p{ui};
    bool ok = false;
    Setup() {
        if (!bench::pointAtBenchTiles(p)) return;
        p.colour.scheme = 1;
        p.colour.mode = 1;
        ok = true;
    }
    std::int16_t stepOf(const MapCase& m) const {
        return m.step != 0 ? m.step : automaticStep(m.a, m.b, m.c, m.d);
    }
    void render(const MapCase& m) {
        p.map.resolution = stepOf(m);
        p.map.autoresolution = 0;
        p.map.areaclass = m.areaclass;
        if (m.tileEntry >= 0) {
            p.map.mapsource = kFromTile;
            p.map.tilefile = p.map.datafolder + p.File1[std::size_t(m.tileEntry)];
            Drawtile(p);
        } else {
            p.map.mapsource = kFromArea;
            mapfromtile(p, m.a, m.b, m.c, m.d);
        }
    }
};

// A whole rendering, with relief shading at its defaults when relief is set.
void timeRendering(benchmark::State& state, const MapCase* m, bool relief) {
    Setup s;
    s.p.relief.on = relief;
    if (!s.ok) return state.SkipWithError(bench::kNoBenchTiles);
    s.render(*m);
    if (!s.ui.messages.empty()) return state.SkipWithError(s.ui.messages.front().text.c_str());
    for (auto _ : state) s.render(*m);
    state.counters["pixels"] = double(s.p.dmap.image.width()) * s.p.dmap.image.height();
}
void renderCase(benchmark::State& state, const MapCase* m) { timeRendering(state, m, false); }
void reliefCase(benchmark::State& state, const MapCase* m) { timeRendering(state, m, true); }

// A whole rendering with all four layers of furniture painted over it; the
// first, untimed one loads the font, the named places and the Cairo module.
void furnitureCase(benchmark::State& state, const MapCase* m) {
    Setup s;
    if (!s.ok) return state.SkipWithError(bench::kNoBenchTiles);
    const FurnitureLayers all{true, true, true, true};
    std::size_t failures = 0;
    const auto renderWithFurniture = [&] {
        s.render(*m);
        const auto map = MapGeometry::of(s.p.dmap);
        if (!map || drawFurniture(s.p.dmap.image, *map, all)) ++failures;
    };
    renderWithFurniture();
    if (failures) return state.SkipWithError("the furniture could not be drawn");
    if (!s.ui.messages.empty()) return state.SkipWithError(s.ui.messages.front().text.c_str());
    for (auto _ : state) renderWithFurniture();
    state.counters["pixels"] = double(s.p.dmap.image.width()) * s.p.dmap.image.height();
}

// Drops the page-cache pages of the four tiles (written back first).
void dropTilePages(const Setup& s) {
    for (const std::string& name : s.p.File1) {
        const int fd = ::open((s.p.map.datafolder + name).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

void coldCase(benchmark::State& state, const MapCase* m) {
    Setup s;
    if (!s.ok) return state.SkipWithError(bench::kNoBenchTiles);
    for (auto _ : state) {
        state.PauseTiming();
        dropTilePages(s);
        state.ResumeTiming();
        s.render(*m);
    }
    if (!s.ui.messages.empty()) return state.SkipWithError(s.ui.messages.front().text.c_str());
    state.counters["pixels"] = double(s.p.dmap.image.width()) * s.p.dmap.image.height();
}

void floorCase(benchmark::State& state, const MapCase* m) {
    Setup s;
    if (!s.ok) return state.SkipWithError(bench::kNoBenchTiles);
    const bench::Plan plan = bench::makePlan(*m, s.stepOf(*m));
    s.p.colourTable.prepare(s.p.colour, s.p.colour.scheme);
    Raster image;
    bench::FloorLoop loop(s.p.map.datafolder, s.p.File1);
    image.reset(plan.width, plan.height);
    loop.run(plan, s.p.colourTable, image);
    for (auto _ : state) {
        image.reset(plan.width, plan.height);
        loop.run(plan, s.p.colourTable, image);
        benchmark::DoNotOptimize(image.data());
    }
    state.counters["pixels"] = double(plan.width) * plan.height;
}

// The north polar region to 60° at step 4, 984 x 984 pixels, as the polar item
// draws it (target: at most 100 ms warm), with relief shading at its defaults
// in the relief/ case. The cold case reads every record from the disk.
void polarCase(benchmark::State& state, bool cold, bool relief) {
    Setup s;
    if (!s.ok) return state.SkipWithError(bench::kNoBenchTiles);
    s.p.relief.on = relief;
    s.p.map.areaclass = kPolarMap;
    s.p.map.mapsource = kFromPolar;
    s.p.map.polarpole = 1;
    s.p.map.polarlimit = 60;
    s.p.map.resolution = 4;
    Drawpolar(s.p);
    if (!s.ui.messages.empty()) return state.SkipWithError(s.ui.messages.front().text.c_str());
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            dropTilePages(s);
            state.ResumeTiming();
        }
        Drawpolar(s.p);
    }
    state.counters["pixels"] = double(s.p.dmap.image.width()) * s.p.dmap.image.height();
}

// Relief shading runs partly on a second thread: the time a map takes is the
// wall-clock time, and the processor time counts both threads.
void timeAsAWhole(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
}

const int registered = [] {
    timeAsAWhole(benchmark::RegisterBenchmark("render/north polar to 60, step 4", polarCase, false, false));
    timeAsAWhole(benchmark::RegisterBenchmark("relief/north polar to 60, step 4", polarCase, false, true));
    benchmark::RegisterBenchmark("cold/north polar to 60, step 4", polarCase, true, false)
        ->Unit(benchmark::kMillisecond);
    timeAsAWhole(benchmark::RegisterBenchmark("furniture/planet_step24", furnitureCase, &bench::kMapCases[0]));
    for (const MapCase& m : bench::kMapCases) {
        timeAsAWhole(benchmark::RegisterBenchmark((std::string("render/") + m.name).c_str(), renderCase, &m));
        timeAsAWhole(benchmark::RegisterBenchmark((std::string("relief/") + m.name).c_str(), reliefCase, &m));
        benchmark::RegisterBenchmark((std::string("floor/") + m.name).c_str(), floorCase, &m)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("cold/") + m.name).c_str(), coldCase, &m)
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
