// SPDX-License-Identifier: MIT
// furniture_bench.cpp: laying out the graticule, landing sites, place names and scale bar over large maps.
//
// Run by hand: build/bench/rubicel_bench --benchmark_filter=furniture
// Each iteration takes the map's geometry from its drawn samples and lays out
// all four layers with the 1,903 names of the gazetteer and the ten landers.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "furniture/furniture_layout.h"
#include "furniture/label_font.h"
#include "furniture/map_places.h"
#include "maps/drawn_map.h"
#include "maps/polar_grid.h"
#include "places/place_index.h"

namespace {

using namespace rubicel;

// The shipped gazetteer's features and landers, as the place index hands them over.
std::vector<MapPlace> marsPlaces() {
    return mapPlacesOf(
        PlaceIndex::fromFiles(RUBICEL_PLACES_DIR "/mars_features.csv", RUBICEL_PLACES_DIR "/landing_sites.csv"));
}

void furnitureCase(benchmark::State& state, DrawnMap map) {
    const LabelFont* font = LabelFont::shared();
    if (!font) return state.SkipWithError("no font");
    const std::vector<MapPlace> places = marsPlaces();
    if (places.size() < 1900) return state.SkipWithError("the feature list was not read");
    const FurnitureLayers all{true, true, true, true};
    const int width = map.westPixels + map.eastPixels;
    std::size_t labels = 0;
    for (auto _ : state) {
        const auto geometry = MapGeometry::of(map, width, map.rows);
        const FurnitureLayout layout = layOutFurniture(*geometry, all, *font, places);
        labels = layout.labels.size();
        benchmark::DoNotOptimize(layout.labels.data());
    }
    state.counters["labels"] = double(labels);
}

const int registered = [] {
    // 90°W to 90°E, 50.6°N to 50.6°S at step 6: 1920 x 1080 pixels.
    benchmark::RegisterBenchmark("furniture/area_1920x1080", furnitureCase,
                                 drawnAreaMap({3, 2, 1, 0}, 2520, 5760, 17279, 6, 1080))
        ->Unit(benchmark::kMillisecond);
    // The planet centred on 0° at step 12: 1920 x 960 pixels, the most names in view.
    benchmark::RegisterBenchmark("furniture/planet_1920x960", furnitureCase,
                                 drawnAreaMap({3, 2, 1, 0}, 0, 0, 23038, 12, 960))
        ->Unit(benchmark::kMillisecond);
    // The north polar map to 10°N at step 12: 1026 x 1026 pixels.
    const PolarGrid polar = polarGrid(1, 10, 12);
    benchmark::RegisterBenchmark("furniture/polar_north_10", furnitureCase,
                                 drawnPolarMap(1, 10, 12, polar.n, 2 * polar.n))
        ->Unit(benchmark::kMillisecond);
    return 0;
}();

}  // namespace
