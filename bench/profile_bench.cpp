// SPDX-License-Identifier: MIT
// profile_bench.cpp: elevation profiles of 10,000 points read from the tiles, warm.
//
// Run by hand with the tile folder in RUBICEL_BENCH_TILES, like the renderings:
// RUBICEL_BENCH_TILES=DIR build/bench/rubicel_render_bench --benchmark_filter=profile
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench_tiles.h"
#include "maps/elevation_profile.h"
#include "maps/tile_file.h"

namespace {

using namespace rubicel;

// 10,000 points from start to end. The meridian case moves to another record
// at nearly every point, the worst case for reading; the diagonal one crosses
// Valles Marineris as the documentation's example does, sharing records more.
void profileCase(benchmark::State& state, GeoPoint start, GeoPoint end) {
    const char* folder = std::getenv("RUBICEL_BENCH_TILES");
    const auto tiles = folder ? listTiles(folder) : std::nullopt;
    if (!tiles || tiles->size() != 4)
        return state.SkipWithError(bench::kNoBenchTiles);
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < 4; ++t) paths[t] = std::string(folder) + "/" + (*tiles)[t];
    ElevationProfile profile;
    for (auto _ : state) {
        if (auto error = elevationProfile(paths, start, end, 10000, profile)) return state.SkipWithError(error->c_str());
        benchmark::DoNotOptimize(profile.points.data());
    }
}

const int registered = [] {
    benchmark::RegisterBenchmark("profile/meridian_10000", profileCase, GeoPoint{60, -100}, GeoPoint{-60, -100})
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("profile/valles_marineris_10000", profileCase, GeoPoint{-5, -80}, GeoPoint{-15, -70})
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("profile/diagonal_10000", profileCase, GeoPoint{50, -170}, GeoPoint{-40, 60})
        ->Unit(benchmark::kMillisecond);
    return 0;
}();

}  // namespace
