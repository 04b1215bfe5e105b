// SPDX-License-Identifier: MIT
// places_bench.cpp: reading the named places, one search, and the feature under the pointer.
//
// build/bench/rubicel_bench --benchmark_filter=places
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "places/place_index.h"

namespace rubicel {
namespace {

PlaceIndex readShipped() {
    return PlaceIndex::fromFiles(RUBICEL_PLACES_DIR "/mars_features.csv", RUBICEL_PLACES_DIR "/landing_sites.csv");
}

const PlaceIndex& shipped() {
    static const PlaceIndex index = readShipped();
    return index;
}

// Both files read and checked, every extent and search key made, as on the first use.
void load(benchmark::State& state) {
    for (auto _ : state) {
        PlaceIndex index = readShipped();
        if (!index.error().empty()) return state.SkipWithError(index.error().c_str());
        benchmark::DoNotOptimize(index.places().data());
    }
}

// One search over every place; "a" matches over 1,500 names, the most to sort.
void search(benchmark::State& state, const char* text) {
    if (!shipped().error().empty()) return state.SkipWithError(shipped().error().c_str());
    std::size_t found = 0;
    for (auto _ : state) {
        const auto places = shipped().search(text);
        found = places.size();
        benchmark::DoNotOptimize(places.data());
    }
    state.counters["found"] = double(found);
}

// The first read-out: the features sorted into the grid of 1° cells.
void firstFeatureAt(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        PlaceIndex index = readShipped();
        state.ResumeTiming();
        benchmark::DoNotOptimize(index.featureAt(-5.08, 137.85));
    }
}

// Every later read-out: points spread over the planet.
void featureAt(benchmark::State& state) {
    if (!shipped().error().empty()) return state.SkipWithError(shipped().error().c_str());
    std::mt19937 random(7);
    std::uniform_real_distribution<double> latitude(-90, 90), longitude(0, 360);
    std::vector<std::pair<double, double>> points(4096);
    for (auto& p : points) p = {latitude(random), longitude(random)};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& [lat, lon] = points[i++ % points.size()];
        benchmark::DoNotOptimize(shipped().featureAt(lat, lon));
    }
}

const int registered = [] {
    benchmark::RegisterBenchmark("places/load", load)->Unit(benchmark::kMillisecond);
    for (const char* text : {"gale", "hephaestus rupes", "Curiosity", "a"})
        benchmark::RegisterBenchmark((std::string("places/search/") + text).c_str(), search, text)
            ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("places/first_feature_at", firstFeatureAt)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("places/feature_at", featureAt)->Unit(benchmark::kNanosecond);
    return 0;
}();

}  // namespace
}  // namespace rubicel
