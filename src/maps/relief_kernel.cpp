// SPDX-License-Identifier: MIT
// relief_kernel.cpp: Horn's gradient, the sun's light and the colour factor over a map row, in single precision
// with the pixels of double precision.
#include "maps/relief_kernel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "common/wide_vectors.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define RUBICEL_AVX2_KERNEL 1
#endif

namespace rubicel {
namespace {

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

// Pixels a pass takes at a time: what it leaves for the next waits on the stack.
constexpr int kChunk = 256;

// The three elevation rows around a map row, each readable from -1 to its
// width, and for masked rows whether each pixel shows a sample.
struct Neighbourhood {
    const float *above, *row, *below;
    const std::uint8_t *shownAbove = nullptr, *shown = nullptr, *shownBelow = nullptr;

    Neighbourhood at(int x) const {
        if (!shown) return {above + x, row + x, below + x};
        return {above + x, row + x, below + x, shownAbove + x, shown + x, shownBelow + x};
    }
};

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

// Pixel x shaded in double precision throughout.
template <bool Masked>
inline std::uint32_t exactPixel(const ReliefLight& light, const Neighbourhood& h, int x, double perEightDx,
                                double perEightDy, std::uint32_t p) {
    float ex, ny;
    hornSums<Masked>(h, x, ex, ny);
    return litPixel(p, exactFactor(light, ex, ny, perEightDx, perEightDy));
}

// The light in single precision, and how near a half a channel's product may
// come before single precision cannot tell which way double precision rounds it.
//
// Every single-precision operation is off by at most u = 2^-24 of its result.
// Followed through: gx and gy are off by at most 2u of their values; 1 +
// z^2 (gx^2 + gy^2) by 9u; its reciprocal square root by 7u (a square root and
// a division, or an estimate within 1.5 x 2^-12 and a Newton step); the
// numerator by 6u of the sum of its terms' sizes, which the norm bounds
// (Cauchy-Schwarz, s a unit vector); so n.s, at most 1, by 20u, f by 22u x
// (1 - k + k / sin H) and a channel's product c x f, where it matters (below
// 257), by 255 x that + 257u. The bound used is half as much again and covers
// the double-precision result's own rounding (about 2^-53 of it). A product
// nearer a half than that, or a light single precision cannot hold, is worked
// out in double precision.
struct SingleLight {
    float perEightDx, perEightDy, zz, zSunX, zSunY, sunZ, keep, perShade;
    float zPerEightDx, zPerEightDy, sunX, sunY;  // the same light taken together for the hand-written loop
    float sure;  // a product at most this far from a whole number rounds to it in double precision too
    bool usable;
};

SingleLight singleLight(const ReliefLight& light, double perEightDx, double perEightDy) {
    constexpr double u = 0x1p-24;
    const double z = light.exaggeration;
    const double doubt = 255.0 * 33.0 * u * (light.keep + light.perShade) + 386.0 * u;
    SingleLight s{float(perEightDx), float(perEightDy), float(z * z), float(z * light.sunX), float(z * light.sunY),
                  float(light.sunZ), float(light.keep), float(light.perShade),
                  float(z * perEightDx), float(z * perEightDy), float(light.sunX), float(light.sunY),
                  float(0.5 - doubt), false};
    // Within these bounds no product or sum of the kernel overflows or
    // underflows, and the products and factors stay below 2^22.
    s.usable = doubt < 0.25 && z >= 1e-6 && z <= 1e6 && perEightDx >= 1e-12 && perEightDx <= 1e6 &&
               perEightDy >= 1e-12 && perEightDy <= 1e6;
    return s;
}

// Pixels 0..count-1 shaded in single precision: straight-line arithmetic the
// compiler vectorises. before keeps each pixel's colour, doubt[x] is set where
// a channel's product lies too near a half. Masked rows keep the colour of
// pixels that show no sample.
template <bool Masked>
RUBICEL_WIDE_VECTORS void shadeSingle(const SingleLight s, const Neighbourhood h, int count, std::uint32_t* pixels,
                                      std::uint32_t* before, std::uint32_t* doubt) {
    for (int x = 0; x < count; ++x) {
        float ex, ny;
        hornSums<Masked>(h, x, ex, ny);
        const float gx = ex * s.perEightDx, gy = ny * s.perEightDy;
        const float norm = std::sqrt(1.0f + s.zz * (gx * gx + gy * gy));
        const float lit = (s.sunZ - s.zSunX * gx - s.zSunY * gy) / norm;
        const float lifted = s.keep + s.perShade * (lit > 0.0f ? lit : 0.0f);
        const float f = lifted < 256.0f ? lifted : 256.0f;
        const std::uint32_t p = pixels[x];
        before[x] = p;
        std::uint32_t unsure = 0;
        const auto channel = [&](std::uint32_t c) {
            const float v = float(std::int32_t(c)) * f;
            const float whole = roundNonNegative(v);
            const float off = v - whole;
            unsure |= std::uint32_t(off > s.sure) | std::uint32_t(off < -s.sure);
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
    shadeSingle<Masked>(s, h, count, pixels, before, doubt);
    for (int i = 0; i < count; i += 8) {
        std::uint8_t bits = 0;
        for (int j = i; j < std::min(i + 8, count); ++j) bits |= std::uint8_t((doubt[j] & 1) << (j - i));
        unsure[i / 8] = bits;
    }
}

#ifdef RUBICEL_AVX2_KERNEL
// The single-precision loop by hand for processors with AVX2 and fused
// multiply-add, eight pixels at a time, with as few operations as the bound
// allows: Horn's sums in single precision (exact, as whole numbers below
// 2^24), z/(8 dx) and z/(8 dy) taken together, the reciprocal of the norm as
// an estimate y and one Newton step y (3 - t y^2) / 2 with the half taken into
// the sun's terms, and the channels packed with saturation (any product from
// 255.5 up gives 255, and the light's bounds keep products below 2^31).
// Returns how many pixels it shaded (a multiple of 8); the bits of unsure are
// set as by the portable loop.
__attribute__((target("avx2,fma"))) int shadeAvx2(const SingleLight& s, const Neighbourhood& h, int count,
                                                   std::uint32_t* pixels, std::uint32_t* before,
                                                   std::uint8_t* unsure) {
    const __m256 zPerEightDx = _mm256_set1_ps(s.zPerEightDx), zPerEightDy = _mm256_set1_ps(s.zPerEightDy);
    const __m256 halfSunX = _mm256_set1_ps(0.5f * s.sunX), halfSunY = _mm256_set1_ps(0.5f * s.sunY);
    const __m256 halfSunZ = _mm256_set1_ps(0.5f * s.sunZ);
    const __m256 keep = _mm256_set1_ps(s.keep), perShade = _mm256_set1_ps(s.perShade);
    const __m256 sure = _mm256_set1_ps(s.sure), one = _mm256_set1_ps(1.0f), three = _mm256_set1_ps(3.0f);
    const __m256 zero = _mm256_setzero_ps();
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
    const __m256i opaque = _mm256_set1_epi32(0xFF);
    // Byte 0, 1 or 2 of each pixel as a whole number (0x80: a zero byte).
    const __m256i blue = _mm256_set_epi8(-128, -128, -128, 12, -128, -128, -128, 8, -128, -128, -128, 4, -128, -128,
                                         -128, 0, -128, -128, -128, 12, -128, -128, -128, 8, -128, -128, -128, 4,
                                         -128, -128, -128, 0);
    const __m256i green = _mm256_add_epi8(blue, _mm256_set1_epi32(1));
    const __m256i red = _mm256_add_epi8(blue, _mm256_set1_epi32(2));
    // Bytes B0..B3 G0..G3 R0..R3 A0..A3 of each half back into pixel order.
    const __m256i order = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0, 4, 8, 12, 1, 5, 9,
                                           13, 2, 6, 10, 14, 3, 7, 11, 15);
    const float *above = h.above, *row = h.row, *below = h.below;
    const int whole = count / 8 * 8;
    // Horn's sums share their columns: with v = n + 2c + s and d = n - s in
    // each column, ex = v(x+1) - v(x-1) and ny = d(x-1) + 2d(x) + d(x+1). The
    // columns -1..whole are worked out first, eight at a time, from column -1.
    alignas(32) float columnSum[kChunk + 16], columnDifference[kChunk + 16];
    for (int c = 0; c < whole + 2; c += 8) {
        const __m256 n = _mm256_loadu_ps(above + c - 1), centre = _mm256_loadu_ps(row + c - 1);
        const __m256 so = _mm256_loadu_ps(below + c - 1);
        _mm256_store_ps(columnSum + c, _mm256_add_ps(_mm256_add_ps(n, so), _mm256_add_ps(centre, centre)));
        _mm256_store_ps(columnDifference + c, _mm256_sub_ps(n, so));
    }
    // Then the light and then the colours, in passes short enough for several
    // rounds of eight to be under way at once.
    alignas(32) float factors[kChunk];
    for (int x = 0; x < whole; x += 8) {
        const __m256 ex = _mm256_sub_ps(_mm256_loadu_ps(columnSum + x + 2), _mm256_load_ps(columnSum + x));
        const __m256 centre = _mm256_loadu_ps(columnDifference + x + 1);
        const __m256 ny = _mm256_add_ps(_mm256_add_ps(_mm256_load_ps(columnDifference + x),
                                                      _mm256_loadu_ps(columnDifference + x + 2)),
                                        _mm256_add_ps(centre, centre));
        const __m256 zgx = _mm256_mul_ps(ex, zPerEightDx), zgy = _mm256_mul_ps(ny, zPerEightDy);
        const __m256 t = _mm256_fmadd_ps(zgx, zgx, _mm256_fmadd_ps(zgy, zgy, one));
        const __m256 y = _mm256_rsqrt_ps(t);
        const __m256 step = _mm256_fnmadd_ps(t, _mm256_mul_ps(y, y), three);
        const __m256 halfNumerator = _mm256_fnmadd_ps(halfSunX, zgx, _mm256_fnmadd_ps(halfSunY, zgy, halfSunZ));
        const __m256 lit = _mm256_max_ps(_mm256_mul_ps(_mm256_mul_ps(halfNumerator, y), step), zero);
        _mm256_store_ps(factors + x, _mm256_fmadd_ps(perShade, lit, keep));
    }
    for (int x = 0; x < whole; x += 8) {
        const __m256 f = _mm256_load_ps(factors + x);

        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + x));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(before + x), p);
        const __m256 vb = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_shuffle_epi8(p, blue)), f);
        const __m256 vg = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_shuffle_epi8(p, green)), f);
        const __m256 vr = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_shuffle_epi8(p, red)), f);
        constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
        const __m256 rb = _mm256_round_ps(vb, kNearest), rg = _mm256_round_ps(vg, kNearest);
        const __m256 rr = _mm256_round_ps(vr, kNearest);
        const __m256 off = _mm256_max_ps(_mm256_max_ps(_mm256_and_ps(_mm256_sub_ps(vb, rb), magnitude),
                                                       _mm256_and_ps(_mm256_sub_ps(vg, rg), magnitude)),
                                         _mm256_and_ps(_mm256_sub_ps(vr, rr), magnitude));
        unsure[x / 8] = std::uint8_t(_mm256_movemask_ps(_mm256_cmp_ps(off, sure, _CMP_GT_OQ)));
        const __m256i bg = _mm256_packs_epi32(_mm256_cvttps_epi32(rb), _mm256_cvttps_epi32(rg));
        const __m256i ra = _mm256_packs_epi32(_mm256_cvttps_epi32(rr), opaque);
        const __m256i shaded = _mm256_shuffle_epi8(_mm256_packus_epi16(bg, ra), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + x), shaded);
    }
    return whole;
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
}
#endif

// Shades pixels 0..width-1 a chunk at a time in single precision, then redoes
// in double precision the few single precision left unsure (or every pixel,
// for a light single precision cannot hold).
template <bool Masked>
void shadeRun(const ReliefLight& light, const Neighbourhood& h, int width, double dx, double dy,
              std::uint32_t* pixels) {
    const double perEightDx = 1.0 / (8.0 * dx);
    const double perEightDy = 1.0 / (8.0 * dy);
    const SingleLight single = singleLight(light, perEightDx, perEightDy);
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
#ifdef RUBICEL_AVX2_KERNEL
        if (!Masked && hasAvx2()) done = shadeAvx2(single, here, count, pixels + x, before, unsure);
#endif
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

}  // namespace

void shadeReliefRow(const ReliefLight& light, const float* above, const float* row, const float* below, int width,
                    double dx, double dy, std::uint32_t* pixels) {
    shadeRun<false>(light, {above, row, below}, width, dx, dy, pixels);
}

void shadeReliefRowMasked(const ReliefLight& light, const float* above, const float* row, const float* below,
                          const std::uint8_t* shownAbove, const std::uint8_t* shown, const std::uint8_t* shownBelow,
                          int width, double dx, double dy, std::uint32_t* pixels) {
    shadeRun<true>(light, {above, row, below, shownAbove, shown, shownBelow}, width, dx, dy, pixels);
}

void shadeReliefRowExactly(const ReliefLight& light, const float* above, const float* row, const float* below,
                           const std::uint8_t* shownAbove, const std::uint8_t* shown, const std::uint8_t* shownBelow,
                           int width, double dx, double dy, std::uint32_t* pixels) {
    const Neighbourhood h{above, row, below, shownAbove, shown, shownBelow};
    const double perEightDx = 1.0 / (8.0 * dx), perEightDy = 1.0 / (8.0 * dy);
    for (int x = 0; x < width; ++x) {
        if (!shown)
            pixels[x] = exactPixel<false>(light, h, x, perEightDx, perEightDy, pixels[x]);
        else if (shown[x])
            pixels[x] = exactPixel<true>(light, h, x, perEightDx, perEightDy, pixels[x]);
    }
}

}  // namespace rubicel
