// SPDX-License-Identifier: MIT
// relief_kernel_x86.cpp: the relief kernel's single-precision loop by hand, for x86-64 processors with AVX2 or AVX-512.
#include "maps/relief_kernel_parts.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

// GCC 12's AVX-512 intrinsics start some results from a register left
// undefined on purpose, which its warning about uninitialised values takes for a fault.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <cstring>

namespace rubicel::relief {
namespace {

// The column sums n + 2c + s and differences n - s of columns from..to-1
// (column c of the rows being c - 1): whole numbers, exact in any order.
void columnsOneByOne(const float* above, const float* row, const float* below, int from, int to, float* sum,
                     float* difference) {
    for (int c = from; c < to; ++c) {
        sum[c] = (above[c - 1] + below[c - 1]) + (row[c - 1] + row[c - 1]);
        difference[c] = above[c - 1] - below[c - 1];
    }
}

}  // namespace

// The single-precision loop by hand for processors with AVX2 and fused
// multiply-add, eight pixels at a time, with as few operations as the bound
// allows: Horn's sums in single precision (exact, as whole numbers below
// 2^24), z/(8 dx) and z/(8 dy) taken together, the reciprocal of the norm as
// an estimate y and one Newton step y (3 - t y^2) / 2 with the half taken into
// the sun's terms, and the channels packed with saturation (any product from
// 255.5 up gives 255, and the light's bounds keep products below 2^31).
__attribute__((target("avx2,fma"))) int shadeAvx2(const SingleLight& s, const Neighbourhood& h, int count,
                                                   std::uint32_t* pixels, std::uint32_t* before,
                                                   std::uint8_t* unsure) {
    const __m256 zPerEightDx = _mm256_set1_ps(s.zPerEightDx), zPerEightDy = _mm256_set1_ps(s.zPerEightDy);
    const __m256 halfSunX = _mm256_set1_ps(0.5f * s.sunX), halfSunY = _mm256_set1_ps(0.5f * s.sunY);
    const __m256 halfSunZ = _mm256_set1_ps(0.5f * s.sunZ);
    const __m256 keep = _mm256_set1_ps(s.keep), perShade = _mm256_set1_ps(s.perShade);
    const __m256 sure = _mm256_set1_ps(s.sure), perUnit = _mm256_set1_ps(s.doubtPerUnit);
    const __m256 one = _mm256_set1_ps(1.0f), three = _mm256_set1_ps(3.0f);
    const __m256 zero = _mm256_setzero_ps();
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
    const __m256i opaque = _mm256_set1_epi32(0xFF);
    // Byte 0, 1 or 2 of each pixel as a whole number (0x80: a zero byte).
    const __m256i blue = _mm256_setr_epi32(int(0x80808000u), int(0x80808004u), int(0x80808008u), int(0x8080800Cu),
                                           int(0x80808000u), int(0x80808004u), int(0x80808008u), int(0x8080800Cu));
    const __m256i green = _mm256_add_epi32(blue, _mm256_set1_epi32(1));
    const __m256i red = _mm256_add_epi32(blue, _mm256_set1_epi32(2));
    // Bytes B0..B3 G0..G3 R0..R3 A0..A3 of each half back into pixel order.
    const __m256i order = _mm256_setr_epi32(0x0C080400, 0x0D090501, 0x0E0A0602, 0x0F0B0703, 0x0C080400, 0x0D090501,
                                            0x0E0A0602, 0x0F0B0703);
    const float *above = h.above, *row = h.row, *below = h.below;
    const int whole = count / 8 * 8;
    // Horn's sums share their columns: with v = n + 2c + s and d = n - s in
    // each column, ex = v(x+1) - v(x-1) and ny = d(x-1) + 2d(x) + d(x+1). The
    // columns -1..whole are worked out first, eight at a time, from column -1.
    alignas(32) float columnSum[kChunk + 16], columnDifference[kChunk + 16];
    // No vector reads past column whole, where the row may end: the columns
    // left over are worked out one by one.
    int c = 0;
    for (; c + 8 <= whole + 2; c += 8) {
        const __m256 n = _mm256_loadu_ps(above + c - 1), centre = _mm256_loadu_ps(row + c - 1);
        const __m256 so = _mm256_loadu_ps(below + c - 1);
        _mm256_store_ps(columnSum + c, _mm256_add_ps(_mm256_add_ps(n, so), _mm256_add_ps(centre, centre)));
        _mm256_store_ps(columnDifference + c, _mm256_sub_ps(n, so));
    }
    columnsOneByOne(above, row, below, c, whole + 2, columnSum, columnDifference);
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
        const __m256 cb = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(p, blue));
        const __m256 cg = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(p, green));
        const __m256 cr = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(p, red));
        const __m256 vb = _mm256_mul_ps(cb, f), vg = _mm256_mul_ps(cg, f), vr = _mm256_mul_ps(cr, f);
        constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
        const __m256 rb = _mm256_round_ps(vb, kNearest), rg = _mm256_round_ps(vg, kNearest);
        const __m256 rr = _mm256_round_ps(vr, kNearest);
        // Each channel's distance from its whole number, with its part of the bound.
        const __m256 db = _mm256_fmadd_ps(cb, perUnit, _mm256_and_ps(_mm256_sub_ps(vb, rb), magnitude));
        const __m256 dg = _mm256_fmadd_ps(cg, perUnit, _mm256_and_ps(_mm256_sub_ps(vg, rg), magnitude));
        const __m256 dr = _mm256_fmadd_ps(cr, perUnit, _mm256_and_ps(_mm256_sub_ps(vr, rr), magnitude));
        const __m256 off = _mm256_max_ps(_mm256_max_ps(db, dg), dr);
        unsure[x / 8] = std::uint8_t(_mm256_movemask_ps(_mm256_cmp_ps(off, sure, _CMP_GT_OQ)));
        const __m256i bg = _mm256_packs_epi32(_mm256_cvttps_epi32(rb), _mm256_cvttps_epi32(rg));
        const __m256i ra = _mm256_packs_epi32(_mm256_cvttps_epi32(rr), opaque);
        const __m256i shaded = _mm256_shuffle_epi8(_mm256_packus_epi16(bg, ra), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + x), shaded);
    }
    return whole;
}

// The same sixteen pixels at a time with AVX-512, whose instructions take some
// steps at once: the estimate of the reciprocal square root is within 2^-14,
// vreduceps gives a product's distance from its whole number, and the
// products are rounded as they are converted.
__attribute__((target("avx512f,avx512bw,avx512dq,avx512vl,fma"))) int shadeAvx512(const SingleLight& s,
                                                                                  const Neighbourhood& h, int count,
                                                                                  std::uint32_t* pixels,
                                                                                  std::uint32_t* before,
                                                                                  std::uint8_t* unsure) {
    const __m512 zPerEightDx = _mm512_set1_ps(s.zPerEightDx), zPerEightDy = _mm512_set1_ps(s.zPerEightDy);
    const __m512 halfSunX = _mm512_set1_ps(0.5f * s.sunX), halfSunY = _mm512_set1_ps(0.5f * s.sunY);
    const __m512 halfSunZ = _mm512_set1_ps(0.5f * s.sunZ);
    const __m512 keep = _mm512_set1_ps(s.keep), perShade = _mm512_set1_ps(s.perShade);
    const __m512 sure = _mm512_set1_ps(s.sure), perUnit = _mm512_set1_ps(s.doubtPerUnit);
    const __m512 one = _mm512_set1_ps(1.0f), three = _mm512_set1_ps(3.0f);
    const __m512 zero = _mm512_setzero_ps();
    const __m512i opaque = _mm512_set1_epi32(0xFF);
    // Byte 0, 1 or 2 of each pixel as a whole number, and the bytes back into pixel order, as above.
    const __m512i blue = _mm512_set4_epi32(int(0x8080800Cu), int(0x80808008u), int(0x80808004u), int(0x80808000u));
    const __m512i green = _mm512_add_epi32(blue, _mm512_set1_epi32(1));
    const __m512i red = _mm512_add_epi32(blue, _mm512_set1_epi32(2));
    const __m512i order = _mm512_set4_epi32(0x0F0B0703, 0x0E0A0602, 0x0D090501, 0x0C080400);
    const float *above = h.above, *row = h.row, *below = h.below;
    const int whole = count / 16 * 16;
    alignas(64) float columnSum[kChunk + 32], columnDifference[kChunk + 32];
    int c = 0;
    for (; c + 16 <= whole + 2; c += 16) {
        const __m512 n = _mm512_loadu_ps(above + c - 1), centre = _mm512_loadu_ps(row + c - 1);
        const __m512 so = _mm512_loadu_ps(below + c - 1);
        _mm512_store_ps(columnSum + c, _mm512_add_ps(_mm512_add_ps(n, so), _mm512_add_ps(centre, centre)));
        _mm512_store_ps(columnDifference + c, _mm512_sub_ps(n, so));
    }
    columnsOneByOne(above, row, below, c, whole + 2, columnSum, columnDifference);
    alignas(64) float factors[kChunk];
    for (int x = 0; x < whole; x += 16) {
        const __m512 ex = _mm512_sub_ps(_mm512_loadu_ps(columnSum + x + 2), _mm512_load_ps(columnSum + x));
        const __m512 centre = _mm512_loadu_ps(columnDifference + x + 1);
        const __m512 ny = _mm512_add_ps(_mm512_add_ps(_mm512_load_ps(columnDifference + x),
                                                      _mm512_loadu_ps(columnDifference + x + 2)),
                                        _mm512_add_ps(centre, centre));
        const __m512 zgx = _mm512_mul_ps(ex, zPerEightDx), zgy = _mm512_mul_ps(ny, zPerEightDy);
        const __m512 t = _mm512_fmadd_ps(zgx, zgx, _mm512_fmadd_ps(zgy, zgy, one));
        const __m512 y = _mm512_rsqrt14_ps(t);
        const __m512 step = _mm512_fnmadd_ps(t, _mm512_mul_ps(y, y), three);
        const __m512 halfNumerator = _mm512_fnmadd_ps(halfSunX, zgx, _mm512_fnmadd_ps(halfSunY, zgy, halfSunZ));
        const __m512 lit = _mm512_max_ps(_mm512_mul_ps(_mm512_mul_ps(halfNumerator, y), step), zero);
        _mm512_store_ps(factors + x, _mm512_fmadd_ps(perShade, lit, keep));
    }
    for (int x = 0; x < whole; x += 16) {
        const __m512 f = _mm512_load_ps(factors + x);
        const __m512i p = _mm512_loadu_si512(pixels + x);
        _mm512_storeu_si512(before + x, p);
        const __m512 cb = _mm512_cvtepi32_ps(_mm512_shuffle_epi8(p, blue));
        const __m512 cg = _mm512_cvtepi32_ps(_mm512_shuffle_epi8(p, green));
        const __m512 cr = _mm512_cvtepi32_ps(_mm512_shuffle_epi8(p, red));
        const __m512 vb = _mm512_mul_ps(cb, f), vg = _mm512_mul_ps(cg, f), vr = _mm512_mul_ps(cr, f);
        // Each channel's distance from its whole number (0x08: the nearest, no
        // exception), with its part of the bound.
        const __m512 db = _mm512_fmadd_ps(cb, perUnit, _mm512_abs_ps(_mm512_reduce_ps(vb, 0x08)));
        const __m512 dg = _mm512_fmadd_ps(cg, perUnit, _mm512_abs_ps(_mm512_reduce_ps(vg, 0x08)));
        const __m512 dr = _mm512_fmadd_ps(cr, perUnit, _mm512_abs_ps(_mm512_reduce_ps(vr, 0x08)));
        const __m512 off = _mm512_max_ps(_mm512_max_ps(db, dg), dr);
        const __mmask16 doubtful = _mm512_cmp_ps_mask(off, sure, _CMP_GT_OQ);
        std::memcpy(unsure + x / 8, &doubtful, 2);
        constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
        const __m512i bg =
            _mm512_packs_epi32(_mm512_cvt_roundps_epi32(vb, kNearest), _mm512_cvt_roundps_epi32(vg, kNearest));
        const __m512i ra = _mm512_packs_epi32(_mm512_cvt_roundps_epi32(vr, kNearest), opaque);
        const __m512i shaded = _mm512_shuffle_epi8(_mm512_packus_epi16(bg, ra), order);
        _mm512_storeu_si512(pixels + x, shaded);
    }
    return whole;
}

// Sixteen samples at step s lie within 128 bytes: one byte permutation of two
// vectors puts them side by side with their bytes swapped, then they are
// widened and converted. Reads stay within the samples asked for.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) int decodeSpreadAvx512(const std::int16_t* samples,
                                                                              int step, int count,
                                                                              float* elevations) {
    alignas(64) std::uint8_t pick[64] = {};
    for (int j = 0; j < 16; ++j) {
        pick[2 * j] = std::uint8_t(2 * step * j + 1);
        pick[2 * j + 1] = std::uint8_t(2 * step * j);
    }
    const __m512i order = _mm512_load_si512(pick);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples);
    const std::ptrdiff_t end = 2 * std::ptrdiff_t(step) * (count - 1) + 2;  // bytes that hold the samples
    int i = 0;
    for (; 2 * std::ptrdiff_t(step) * i + 128 <= end; i += 16) {
        const std::uint8_t* from = bytes + 2 * std::ptrdiff_t(step) * i;
        const __m512i pair =
            _mm512_permutex2var_epi8(_mm512_loadu_si512(from), order, _mm512_loadu_si512(from + 64));
        const __m512i wide = _mm512_cvtepi16_epi32(_mm512_castsi512_si256(pair));
        _mm512_storeu_ps(elevations + i, _mm512_cvtepi32_ps(wide));
    }
    return i;
}

}  // namespace rubicel::relief

#else
namespace rubicel::relief {
// Never called where the processor is not x86-64: none of its pixels are shaded here.
int shadeAvx2(const SingleLight&, const Neighbourhood&, int, std::uint32_t*, std::uint32_t*, std::uint8_t*) { return 0; }
int shadeAvx512(const SingleLight&, const Neighbourhood&, int, std::uint32_t*, std::uint32_t*, std::uint8_t*) {
    return 0;
}
int decodeSpreadAvx512(const std::int16_t*, int, int, float*) { return 0; }
}  // namespace rubicel::relief
#endif
