// SPDX-License-Identifier: MIT
// colour_row_bench.cpp: colouring one tile row through the colour table and call by call.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "colour/colour_engine.h"
#include "colour/colour_row.h"
#include "common/raster.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {
namespace {

constexpr int kRowSamples = 11520;

// One tile row of real elevations, as stored: eight consecutive rows of 1440
// samples around the equator of the 4-pixels-per-degree global product.
const std::vector<std::int16_t>& storedRow() {
    static const std::vector<std::int16_t> row = [] {
        constexpr int kGlobalColumns = 1440;
        constexpr int kFirstRow = 356;
        std::vector<std::int16_t> samples(kRowSamples);
        std::FILE* file = std::fopen(RUBICEL_SAMPLE_TILE, "rb");
        if (!file || std::fseek(file, long(kFirstRow) * kGlobalColumns * 2, SEEK_SET) != 0 ||
            std::fread(samples.data(), 2, kRowSamples, file) != std::size_t(kRowSamples)) {
            std::fprintf(stderr, "cannot read %s\n", RUBICEL_SAMPLE_TILE);
            std::exit(1);
        }
        std::fclose(file);
        return samples;
    }();
    return row;
}

std::int16_t decode(std::int16_t stored) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&stored);
    return std::int16_t(std::uint16_t(bytes[0] << 8 | bytes[1]));
}

void setUp(Program& p, const benchmark::State& state) {
    initbands(p.colour);
    p.colour.scheme = std::int16_t(state.range(0));
    p.colour.mode = std::int16_t(state.range(1));
    p.diagnostics.beginDrawing();
}

void BM_ColourRowTable(benchmark::State& state) {
    HeadlessPlatform ui;
    Program p(ui);
    setUp(p, state);
    const std::vector<std::int16_t>& row = storedRow();
    std::vector<std::uint32_t> pixels(kRowSamples);
    for (auto _ : state) {
        colourRow(p, row.data(), 0, 1, kRowSamples, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kRowSamples);
}

void BM_ColourRowSetcolours(benchmark::State& state) {
    HeadlessPlatform ui;
    Program p(ui);
    setUp(p, state);
    const std::vector<std::int16_t>& row = storedRow();
    std::vector<std::uint32_t> pixels(kRowSamples);
    for (auto _ : state) {
        for (int i = 0; i < kRowSamples; ++i) {
            Setcolours(p, p.colour.scheme, decode(row[i]));
            pixels[i] = packRgb(p.colour.R, p.colour.G, p.colour.B);
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kRowSamples);
}

// Arguments: scheme, mode.
BENCHMARK(BM_ColourRowTable)->Args({2, 1})->Args({5, 2})->Args({9, 3});
BENCHMARK(BM_ColourRowSetcolours)->Args({2, 1})->Args({5, 2})->Args({9, 3});

}  // namespace
}  // namespace rubicel
