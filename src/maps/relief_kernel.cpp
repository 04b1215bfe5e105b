// SPDX-License-Identifier: MIT
// relief_kernel.cpp: Horn's gradient, the sun's light and the colour factor over a map row, in single precision
// with the pixels of double precision.
#include "maps/relief_kernel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "common/stored_sample.h"
#include "common/wide_vectors.h"
#include "maps/relief_kernel_parts.h"

namespace rubicel {
namespace {

using relief::kChunk;
using relief::Neighbourhood;
using relief::SingleLight;

// Returns v, 0 <= v < 2^51, rounded half to even: adding 2^52 leaves no bits
// below the unit, so the addition itself rounds in the default rounding mode
// (to nearest, ties to even) and the subtraction is exact. This is
// std::nearbyint on that range in two additions the compiler can vectorise.
inline double roundNonNegative(double v) {
    constexpr double kShift = 0x1p52;
    return (v + kShift) - kShift;
}
// The same in single precision, for 0 <= v < 2^22.
inline float roundNonNegative(float v) {
    constexpr float kShift = 0x1p23f;
    return (v + kShift) - kShift;
}

// The numerators of Horn's gradient at pixel x: east minus west,
// ex = (ne + 2e + se) - (nw + 2w + sw), and north minus south,
// ny = (nw + 2n + ne) - (sw + 2s + se). The elevations are whole numbers below
// 2^15, so every sum is exact. Masked rows replace a neighbour that shows no
// sample by the centre (a blend with 0 or 1, so that a loop has no branch).
template <bool Masked>
inline void hornSums(const Neighbourhood& h, int x, float& ex, float& ny) {
    const float *above = h.above, *row = h.row, *below = h.below;
    const float c = row[x];
    float nw = above[x - 1], n = above[x], ne = above[x + 1];
    float w = row[x - 1], e = row[x + 1];
    float sw = below[x - 1], s = below[x], se = below[x + 1];
    if constexpr (Masked) {
        const auto keepIf = [c](float v, std::uint8_t m) { return c + (v - c) * float(m != 0); };
        nw = keepIf(nw, h.shownAbove[x - 1]);
        n = keepIf(n, h.shownAbove[x]);
        ne = keepIf(ne, h.shownAbove[x + 1]);
        w = keepIf(w, h.shown[x - 1]);
        e = keepIf(e, h.shown[x + 1]);
        sw = keepIf(sw, h.shownBelow[x - 1]);
        s = keepIf(s, h.shownBelow[x]);
        se = keepIf(se, h.shownBelow[x + 1]);
    }
    ex = (ne + 2 * e + se) - (nw + 2 * w + sw);
    ny = (nw + 2 * n + ne) - (sw + 2 * s + se);
}

// The factor f from the gradient numerators in double precision:
// gx = ex / (8 dx), gy = ny / (8 dy) (multiplied by the row's reciprocals), the
// unit normal (-z gx, -z gy, 1) / norm toward the sun,
// f = (1 - k) + k x max(0, n.s) / sin H, at most 256.
inline double exactFactor(const ReliefLight& light, double ex, double ny, double perEightDx, double perEightDy) {
    const double gx = ex * perEightDx;
    const double gy = ny * perEightDy;
    const double zz = light.exaggeration * light.exaggeration;
    const double zSunX = light.exaggeration * light.sunX, zSunY = light.exaggeration * light.sunY;
    const double norm = std::sqrt(1.0 + zz * (gx * gx + gy * gy));
    const double lit = (light.sunZ - zSunX * gx - zSunY * gy) / norm;
    // A sun close to the horizon can make f huge; any f of 256 or more
    // turns every channel but 0 into 255, as 256 does.
    const double factor = light.keep + light.perShade * (lit > 0.0 ? lit : 0.0);
    return factor < 256.0 ? factor : 256.0;
}

// Each channel c of the pixel becomes min(255, c x f) rounded half to even.
// Rounding first and capping the whole number after gives the same value (255 is whole).
inline std::uint32_t litPixel(std::uint32_t p, double f) {
    const auto lit = [f](std::uint32_t c) {
        const std::int32_t v = std::int32_t(roundNonNegative(double(std::int32_t(c)) * f));
        return std::uint32_t(v < 255 ? v : 255);
    };
    return 0xFF000000u | lit(p >> 16 & 0xFF) << 16 | lit(p >> 8 & 0xFF) << 8 | lit(p & 0xFF);
}

// Pixel x shaded in double precision throughout; where the rows have a scale
// of each pixel, the spacings are divided by the pixel's.
template <bool Masked>
inline std::uint32_t exactPixel(const ReliefLight& light, const Neighbourhood& h, int x, double perEightDx,
                                double perEightDy, std::uint32_t p) {
    float ex, ny;
    hornSums<Masked>(h, x, ex, ny);
    const double scale = h.scale ? double(h.scale[x]) : 1.0;
    return litPixel(p, exactFactor(light, ex, ny, perEightDx * scale, perEightDy * scale));
}

// scaled: the rows have a scale of each pixel, 1 to kMostReliefScale.
SingleLight singleLight(const ReliefLight& light, double perEightDx, double perEightDy, bool scaled) {
    constexpr double u = 0x1p-24;
    const double z = light.exaggeration;
    const double perUnit = 28.0 * u * (light.keep + light.perShade), common = 343.0 * u;
    SingleLight s{float(z * perEightDx), float(z * perEightDy), z * perEightDx, z * perEightDy,
                  float(light.sunX), float(light.sunY), float(light.sunZ), float(light.keep),
                  float(light.perShade), float(0.5 - common), float(perUnit), false};
    // Within these bounds no product or sum of the kernel overflows or
    // underflows, and the products and factors stay below 2^22.
    const double most = scaled ? kMostReliefScale : 1.0;
    s.usable = 255.0 * perUnit + common < 0.25 && z >= 1e-6 && z <= 1e6 && perEightDx >= 1e-12 &&
               perEightDx * most <= 1e6 && perEightDy >= 1e-12 && perEightDy * most <= 1e6;
    return s;
}

// Pixels 0..count-1 shaded in single precision: straight-line arithmetic the
// compiler vectorises. before keeps each pixel's colour, doubt[x] is set where
// a channel's product lies too near a half. Masked rows keep the colour of
// pixels that show no sample; scaled rows divide each pixel's spacings by its scale.
template <bool Masked, bool Scaled>
RUBICEL_WIDE_VECTORS void shadeSingle(const SingleLight s, const Neighbourhood h, int count, std::uint32_t* pixels,
                                      std::uint32_t* before, std::uint32_t* doubt) {
    for (int x = 0; x < count; ++x) {
        float ex, ny;
        hornSums<Masked>(h, x, ex, ny);
        float zPerEightDx = s.zPerEightDx, zPerEightDy = s.zPerEightDy;
        if constexpr (Scaled) {
            const double scale = double(h.scale[x]);
            zPerEightDx = float(s.zPerEightDxWide * scale);
            zPerEightDy = float(s.zPerEightDyWide * scale);
        }
        const float zgx = ex * zPerEightDx, zgy = ny * zPerEightDy;
        const float norm = std::sqrt(1.0f + (zgx * zgx + zgy * zgy));
        const float lit = (s.sunZ - s.sunX * zgx - s.sunY * zgy) / norm;
        const float lifted = s.keep + s.perShade * (lit > 0.0f ? lit : 0.0f);
        const float f = lifted < 256.0f ? lifted : 256.0f;
        const std::uint32_t p = pixels[x];
        before[x] = p;
        std::uint32_t unsure = 0;
        const auto channel = [&](std::uint32_t c) {
            const float channel = float(std::int32_t(c)), v = channel * f;
            const float whole = roundNonNegative(v);
            unsure |= std::uint32_t(std::fabs(v - whole) + channel * s.doubtPerUnit > s.sure);
            const std::int32_t q = std::int32_t(whole);
            return std::uint32_t(q < 255 ? q : 255);
        };
        const std::uint32_t shaded =
            0xFF000000u | channel(p >> 16 & 0xFF) << 16 | channel(p >> 8 & 0xFF) << 8 | channel(p & 0xFF);
        if constexpr (Masked) {
            const std::uint32_t all = 0u - std::uint32_t(h.shown[x] != 0);  // every bit set where shown
            pixels[x] = (shaded & all) | (p & ~all);
            doubt[x] = unsure & all;
        } else {
            pixels[x] = shaded;
            doubt[x] = unsure;
        }
    }
}

// The portable loop over pixels 0..count-1, its doubts as one bit a pixel.
template <bool Masked>
void shadePortable(const SingleLight& s, const Neighbourhood& h, int count, std::uint32_t* pixels,
                   std::uint32_t* before, std::uint8_t* unsure) {
    std::uint32_t doubt[kChunk];
    if (h.scale)
        shadeSingle<Masked, true>(s, h, count, pixels, before, doubt);
    else
        shadeSingle<Masked, false>(s, h, count, pixels, before, doubt);
    for (int i = 0; i < count; i += 8) {
        std::uint8_t bits = 0;
        for (int j = i; j < std::min(i + 8, count); ++j) bits |= std::uint8_t((doubt[j] & 1) << (j - i));
        unsure[i / 8] = bits;
    }
}

// Shades pixels 0..width-1 a chunk at a time in single precision, then redoes
// in double precision the few single precision left unsure (or every pixel,
// for a light single precision cannot hold).
template <bool Masked>
void shadeRun(const ReliefLight& light, const Neighbourhood& h, int width, double dx, double dy,
              std::uint32_t* pixels, ReliefLoop loop) {
    const double perEightDx = 1.0 / (8.0 * dx);
    const double perEightDy = 1.0 / (8.0 * dy);
    const SingleLight single = singleLight(light, perEightDx, perEightDy, h.scale != nullptr);
    if (!single.usable) {
        for (int x = 0; x < width; ++x)
            if (!Masked || h.shown[x]) pixels[x] = exactPixel<Masked>(light, h, x, perEightDx, perEightDy, pixels[x]);
        return;
    }
    std::uint32_t before[kChunk];
    alignas(8) std::uint8_t unsure[kChunk / 8];
    for (int x = 0; x < width; x += kChunk) {
        const int count = std::min(kChunk, width - x);
        const Neighbourhood here = h.at(x);
        int done = 0;
        // The hand-written loops take rows of one spacing whose pixels all show a sample.
        const bool even = !Masked && !h.scale;
        if (even && loop == ReliefLoop::Avx512)
            done = relief::shadeAvx512(single, here, count, pixels + x, before, unsure);
        if (even && loop != ReliefLoop::Portable && done < count)
            done += relief::shadeAvx2(single, here.at(done), count - done, pixels + x + done, before + done,
                                      unsure + done / 8);
        if (done < count)
            shadePortable<Masked>(single, here.at(done), count - done, pixels + x + done, before + done,
                                  unsure + done / 8);
        // Few pixels are unsure: the bits are looked at 64 to a word.
        const int groups = (count + 7) / 8;
        for (int word = 0; word < groups; word += 8) {
            std::uint64_t any = 0;
            std::memcpy(&any, unsure + word, std::size_t(std::min(8, groups - word)));
            if (any == 0) continue;
            for (int group = word; group < std::min(word + 8, groups); ++group)
                for (unsigned bits = unsure[group]; bits != 0; bits &= bits - 1) {
                    const int i = group * 8 + std::countr_zero(bits);
                    pixels[x + i] = exactPixel<Masked>(light, here, i, perEightDx, perEightDy, before[i]);
                }
        }
    }
}

RUBICEL_WIDE_VECTORS void decodeRun(const std::int16_t* samples, int step, int count, float* elevations) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(samples);
    if (step == 1) {
        for (int i = 0; i < count; ++i) elevations[i] = float(storedElevation(bytes + 2 * i));
        return;
    }
    const std::ptrdiff_t stride = 2 * std::ptrdiff_t(step);
    for (int i = 0; i < count; ++i) elevations[i] = float(storedElevation(bytes + stride * i));
}

bool hasVbmi() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vbmi");
    return has;
#else
    return false;
#endif
}

}  // namespace

void decodeElevations(const std::int16_t* samples, int step, int count, float* elevations) {
    int done = 0;
    if (step >= 2 && step <= 4 && hasVbmi()) done = relief::decodeSpreadAvx512(samples, step, count, elevations);
    decodeRun(samples + std::ptrdiff_t(done) * step, step, count - done, elevations + done);
}

bool reliefLoopRuns(ReliefLoop loop) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    switch (loop) {
    case ReliefLoop::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl");
    case ReliefLoop::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case ReliefLoop::Portable:
        break;
    }
#endif
    return loop == ReliefLoop::Portable;
}

ReliefLoop fastestReliefLoop() {
    static const ReliefLoop fastest = reliefLoopRuns(ReliefLoop::Avx512) ? ReliefLoop::Avx512
                                      : reliefLoopRuns(ReliefLoop::Avx2)  ? ReliefLoop::Avx2
                                                                          : ReliefLoop::Portable;
    return fastest;
}

void shadeReliefRow(const ReliefLight& light, const float* above, const float* row, const float* below, int width,
                    double dx, double dy, std::uint32_t* pixels, ReliefLoop loop) {
    shadeRun<false>(light, {above, row, below}, width, dx, dy, pixels, loop);
}

void shadeReliefRowMasked(const ReliefLight& light, const float* above, const float* row, const float* below,
                          const std::uint8_t* shownAbove, const std::uint8_t* shown, const std::uint8_t* shownBelow,
                          int width, double dx, double dy, std::uint32_t* pixels, const float* scales) {
    shadeRun<true>(light, {above, row, below, shownAbove, shown, shownBelow, scales}, width, dx, dy, pixels,
                   ReliefLoop::Portable);
}

void shadeReliefRowExactly(const ReliefLight& light, const float* above, const float* row, const float* below,
                           const std::uint8_t* shownAbove, const std::uint8_t* shown, const std::uint8_t* shownBelow,
                           int width, double dx, double dy, std::uint32_t* pixels, const float* scales) {
    const Neighbourhood h{above, row, below, shownAbove, shown, shownBelow, scales};
    const double perEightDx = 1.0 / (8.0 * dx), perEightDy = 1.0 / (8.0 * dy);
    for (int x = 0; x < width; ++x) {
        if (!shown)
            pixels[x] = exactPixel<false>(light, h, x, perEightDx, perEightDy, pixels[x]);
        else if (shown[x])
            pixels[x] = exactPixel<true>(light, h, x, perEightDx, perEightDy, pixels[x]);
    }
}

}  // namespace rubicel
