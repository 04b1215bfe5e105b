// SPDX-License-Identifier: MIT
// relief_kernel.h: the shading of one map row by the sun's light on its neighbourhood.
#pragma once

#include <cstdint>

#include "maps/relief_shading.h"

namespace rubicel {

// Shades the pixels of one map row: pixels[x] for x in 0..width-1, from the
// elevations of that row (row), the row above it (north, above) and below it
// (below), whole metres. Each elevation row must be readable from index -1 to
// width: the caller repeats the edge pixel there (or whatever stands beside
// it), as it passes the row itself for a missing row above or below. dx and dy
// are the spacing of columns and rows, metres. Each channel c becomes
// min(255, c x f) rounded half to even, f = (1 - k) + k x shade / sin(H), shade
// the sun's light on Horn's 3 x 3 gradient; level ground keeps its colour.
// The pixels are those of double-precision arithmetic throughout: the kernel
// works in single precision and redoes in double each pixel whose rounding
// single precision cannot settle.
//
// The single-precision loop is written three ways: portable C++ the compiler
// vectorises, and by hand for x86-64 processors with AVX2 or AVX-512. Each
// gives the same pixels; the fastest the processor runs is the one used.
enum class ReliefLoop { Portable, Avx2, Avx512 };
bool reliefLoopRuns(ReliefLoop loop);
ReliefLoop fastestReliefLoop();
void shadeReliefRow(const ReliefLight& light, const float* above, const float* row, const float* below, int width,
                    double dx, double dy, std::uint32_t* pixels, ReliefLoop loop = fastestReliefLoop());

// The same for maps with pixels that show no sample: shown rows hold 1 where a
// pixel shows a sample and 0 where not, readable from -1 to width like the
// elevations. Pixels that show none are left alone; a neighbour that shows
// none counts as the pixel itself (level ground toward it). For maps whose
// scale changes from pixel to pixel, scales (when not null) holds for each
// pixel of the row how many map metres a ground metre takes there (1 to
// kMostReliefScale): the pixel's spacings on the ground are dx / scales[x]
// and dy / scales[x].
void shadeReliefRowMasked(const ReliefLight& light, const float* above, const float* row, const float* below,
                          const std::uint8_t* shownAbove, const std::uint8_t* shown, const std::uint8_t* shownBelow,
                          int width, double dx, double dy, std::uint32_t* pixels, const float* scales = nullptr);

// The elevations of samples[0], samples[step], ... as stored (big-endian), in
// whole metres, into elevations[0..count-1]: the rows the kernel shades by.
void decodeElevations(const std::int16_t* samples, int step, int count, float* elevations);

// Either of the above (shown null: every pixel shows a sample; scales null:
// every pixel dx and dy apart) worked out pixel by pixel in double precision:
// what the row kernels must give.
void shadeReliefRowExactly(const ReliefLight& light, const float* above, const float* row, const float* below,
                           const std::uint8_t* shownAbove, const std::uint8_t* shown, const std::uint8_t* shownBelow,
                           int width, double dx, double dy, std::uint32_t* pixels, const float* scales = nullptr);

}  // namespace rubicel
