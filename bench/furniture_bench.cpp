// SPDX-License-Identifier: MIT
// furniture_bench.cpp: laying out the graticule, landing sites, place names and scale bar over large maps.
//
// Run by hand: build/bench/rubicel_bench --benchmark_filter=furniture
// Each iteration takes the map's geometry from its drawn samples and lays out
// all four layers with the 1,903 names of the gazetteer and the ten landers.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "furniture/furniture_layout.h"
#include "furniture/label_font.h"
#include "maps/drawn_map.h"
#include "maps/polar_grid.h"

namespace {

using namespace rubicel;

// The gazetteer's features, as the place index will hand them over, and the landers.
std::vector<MapPlace> marsPlaces() {
    std::vector<MapPlace> places;
    std::ifstream file(RUBICEL_BENCH_FEATURES);
    std::string line;
    std::getline(file, line);  // the header
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string name, code, lat, lon, diameter;
        std::getline(fields, name, ',');
        std::getline(fields, code, ',');
        std::getline(fields, lat, ',');
        std::getline(fields, lon, ',');
        std::getline(fields, diameter, ',');
        places.push_back({name, std::stod(lat), std::stod(lon), std::stod(diameter),
                          code == "AL" ? PlaceKind::AlbedoFeature : PlaceKind::Feature});
    }
    const struct {
        const char* name;
        double lat, lon;
    } landers[] = {{"Viking 1", 22.27, 312.05},         {"Viking 2", 47.67, 134.28},
                   {"Mars Pathfinder", 19.10, 326.75},  {"Spirit", -14.5718, 175.4785},
                   {"Opportunity", -1.9483, 354.4742},  {"Phoenix", 68.22, 234.25},
                   {"Curiosity", -4.5895, 137.4417},    {"InSight", 4.502, 135.623},
                   {"Perseverance", 18.4447, 77.4508},  {"Zhurong", 25.066, 109.925}};
    for (const auto& l : landers) places.push_back({l.name, l.lat, l.lon, 0, PlaceKind::LandingSite});
    return places;
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
