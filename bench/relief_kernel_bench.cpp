// SPDX-License-Identifier: MIT
// relief_kernel_bench.cpp: shading one tile row of real elevations and colours, by each loop the processor runs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "colour/colour_engine.h"
#include "colour/colour_row.h"
#include "maps/relief_kernel.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {
namespace {

constexpr int kRowSamples = 11520;

// Three tile rows of real elevations, as stored: each eight consecutive rows
// of 1440 samples near the equator of the 4-pixels-per-degree global product.
std::vector<std::int16_t> storedRow(int first) {
    constexpr int kGlobalColumns = 1440;
    std::vector<std::int16_t> samples(kRowSamples);
    std::FILE* file = std::fopen(RUBICEL_SAMPLE_TILE, "rb");
    if (!file || std::fseek(file, long(first) * kGlobalColumns * 2, SEEK_SET) != 0 ||
        std::fread(samples.data(), 2, kRowSamples, file) != std::size_t(kRowSamples)) {
        std::fprintf(stderr, "cannot read %s\n", RUBICEL_SAMPLE_TILE);
        std::exit(1);
    }
    std::fclose(file);
    return samples;
}

// The row's elevations in whole metres, readable from -1 to its width.
std::vector<float> elevations(const std::vector<std::int16_t>& stored) {
    std::vector<float> metres(kRowSamples + 2);
    for (int i = 0; i < kRowSamples; ++i) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&stored[std::size_t(i)]);
        metres[std::size_t(i) + 1] = float(std::int16_t(std::uint16_t(bytes[0] << 8 | bytes[1])));
    }
    metres.front() = metres[1];
    metres.back() = metres[kRowSamples];
    return metres;
}

// Rows 348, 356 and 364 of the stored grid as elevations, and row 356
// coloured in scheme 0.
struct ThreeRows {
    std::vector<float> north, centre, south;
    std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(kRowSamples);
    ThreeRows() {
        HeadlessPlatform ui;
        Program p(ui);
        initbands(p.colour);
        const std::vector<std::int16_t> row = storedRow(356);
        north = elevations(storedRow(348));
        centre = elevations(row);
        south = elevations(storedRow(364));
        colourRow(p, row.data(), 0, 1, kRowSamples, colours.data());
    }
};

// Reports the time a pixel of the row took.
void perPixel(benchmark::State& state) {
    state.counters["ns/pixel"] = benchmark::Counter(double(state.iterations()) * kRowSamples,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Shades the middle row, coloured in scheme 0, at the defaults and the spacing of a 1:1 tile at 45°.
void BM_ReliefRow(benchmark::State& state, ReliefLoop loop) {
    if (!reliefLoopRuns(loop)) {
        state.SkipWithError("the processor does not run this loop");
        return;
    }
    const ThreeRows rows;
    std::vector<std::uint32_t> pixels(kRowSamples);
    ReliefSettings settings;
    settings.on = true;
    const ReliefLight light = reliefLight(settings);
    const double dy = reliefRowSpacing(1), dx = reliefColumnSpacing(dy, 45.0);
    for (auto _ : state) {
        pixels = rows.colours;
        shadeReliefRow(light, rows.north.data() + 1, rows.centre.data() + 1, rows.south.data() + 1, kRowSamples, dx,
                       dy, pixels.data(), loop);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    perPixel(state);
}

// The same row as a polar map shades it: masked (every eighth pixel shows no
// sample), and with a scale of each pixel or without.
void BM_ReliefRowMasked(benchmark::State& state, bool scaled) {
    const ThreeRows rows;
    std::vector<std::uint32_t> pixels(kRowSamples);
    std::vector<std::uint8_t> shown(kRowSamples + 2);
    std::vector<float> scales(kRowSamples);
    for (int i = 0; i < kRowSamples; ++i) {
        shown[std::size_t(i) + 1] = i % 8 != 0;
        scales[std::size_t(i)] = float(1.0 + double(i) / kRowSamples);
    }
    ReliefSettings settings;
    settings.on = true;
    const ReliefLight light = reliefLight(settings);
    const double spacing = reliefRowSpacing(4);
    for (auto _ : state) {
        pixels = rows.colours;
        shadeReliefRowMasked(light, rows.north.data() + 1, rows.centre.data() + 1, rows.south.data() + 1,
                             shown.data() + 1, shown.data() + 1, shown.data() + 1, kRowSamples, spacing, spacing,
                             pixels.data(), scaled ? scales.data() : nullptr);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    perPixel(state);
}

BENCHMARK_CAPTURE(BM_ReliefRow, portable, ReliefLoop::Portable);
BENCHMARK_CAPTURE(BM_ReliefRow, avx2, ReliefLoop::Avx2);
BENCHMARK_CAPTURE(BM_ReliefRow, avx512, ReliefLoop::Avx512);
BENCHMARK_CAPTURE(BM_ReliefRowMasked, even, false);
BENCHMARK_CAPTURE(BM_ReliefRowMasked, scaled, true);

}  // namespace
}  // namespace rubicel
