// SPDX-License-Identifier: MIT
// relief_kernel_parts.h: what the relief kernel's portable loop and its hand-written x86 loops share.
#pragma once

#include <cstdint>

namespace rubicel::relief {

// Pixels a pass takes at a time: what it leaves for the next waits on the stack.
constexpr int kChunk = 256;

// The three elevation rows around a map row, each readable from -1 to its
// width, for masked rows whether each pixel shows a sample, and for rows whose
// spacing changes from pixel to pixel the scale each pixel's is divided by.
struct Neighbourhood {
    const float *above, *row, *below;
    const std::uint8_t *shownAbove = nullptr, *shown = nullptr, *shownBelow = nullptr;
    const float* scale = nullptr;

    Neighbourhood at(int x) const {
        return {above + x,
                row + x,
                below + x,
                shown ? shownAbove + x : nullptr,
                shown ? shown + x : nullptr,
                shown ? shownBelow + x : nullptr,
                scale ? scale + x : nullptr};
    }
};

// The light in single precision, and how near a half a channel's product may
// come before single precision cannot tell which way double precision rounds it.
//
// Every single-precision operation is off by at most u = 2^-24 of its result.
// Followed through: gx and gy are off by at most 2u of their values; 1 +
// z^2 (gx^2 + gy^2) by 9u; the reciprocal of its square root by 10u (half of
// 9u, then a square root and a division, or an estimate within 1.5 x 2^-12
// whose Newton step leaves 3.4u, and the step's own roundings); the numerator
// by 6u of the sum of its terms' sizes, which the norm bounds (Cauchy-Schwarz,
// s a unit vector); so n.s, at most 1, by 19u and f by 21u x (1 - k + k / sin H).
// A channel's product c x f, where it matters (below 257), is then off by c
// times that + 257u. Where the spacing changes from pixel to pixel, z / (8 dx)
// and z / (8 dy) are worked out for each pixel in double precision and rounded
// once, as for a whole row, so the same holds. The bound used is a third more on each part and covers
// the double-precision result's own rounding (about 2^-53 of it). A product
// nearer a half than that, or a light single precision cannot hold, is worked
// out in double precision.
struct SingleLight {
    float zPerEightDx, zPerEightDy;  // z / (8 dx) and z / (8 dy): the gradient comes exaggerated
    double zPerEightDxWide, zPerEightDyWide;  // the same in double precision, for pixels with a scale
    float sunX, sunY, sunZ, keep, perShade;
    // A channel c whose product lies at most sure - c x doubtPerUnit from a
    // whole number rounds to it in double precision too.
    float sure, doubtPerUnit;
    bool usable;
};

// The hand-written loops over pixels 0..count-1 of a chunk (count at most
// kChunk) of a row whose pixels all show a sample: each shades a whole number
// of its vectors and returns how many pixels that is, keeps each pixel's
// colour in before and sets bit x % 8 of unsure[x / 8] where a channel's
// product lies too near a half. For processors with AVX2 and fused
// multiply-add, and with AVX-512 (F, BW, DQ, VL).
int shadeAvx2(const SingleLight& s, const Neighbourhood& h, int count, std::uint32_t* pixels, std::uint32_t* before,
              std::uint8_t* unsure);
int shadeAvx512(const SingleLight& s, const Neighbourhood& h, int count, std::uint32_t* pixels,
                std::uint32_t* before, std::uint8_t* unsure);

// Decodes samples[0], samples[step], ... for step 2 to 4 with AVX-512 VBMI,
// sixteen at a time: returns how many it decoded.
int decodeSpreadAvx512(const std::int16_t* samples, int step, int count, float* elevations);

}  // namespace rubicel::relief
