// SPDX-License-Identifier: MIT
// relief_shading.cpp: Horn's gradient, the sun's light and the colour factor, one map row at a time.
#include "maps/relief_shading.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rubicel {
namespace {

// The radius of the Mars sphere the georeferenced output uses, metres.
constexpr double kMarsRadius = 3396190.0;
constexpr double kDegree = std::numbers::pi / 180.0;

// Returns v, 0 <= v < 2^51, rounded half to even: adding 2^52 leaves no bits
// below the unit, so the addition itself rounds in the default rounding mode
// (to nearest, ties to even) and the subtraction is exact. This is
// std::nearbyint on that range in two additions the compiler can vectorise.
inline double roundNonNegative(double v) {
    constexpr double kShift = 0x1p52;
    return (v + kShift) - kShift;
}

// Pixels a kernel pass takes at a time: the passes' results wait on the stack.
constexpr int kChunk = 256;

// The hot loops are compiled for the plain instruction set and, where the
// processor has them, for wider vectors; every operation is the same IEEE
// double operation either way (no fused multiply-add), so the pixels are too.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define RUBICEL_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define RUBICEL_WIDE_VECTORS
#endif

// The numerators of Horn's gradient for pixels 0..count-1, in whole numbers
// (exact, as the sums of the same elevations in double would be): east minus
// west, ex = (ne + 2e + se) - (nw + 2w + sw), and north minus south,
// ny = (nw + 2n + ne) - (sw + 2s + se). Masked rows replace a neighbour that
// shows no sample by the centre (a blend with 0 or 1, so that the loop has no branch).
template <bool Masked>
inline void gradientSums(const std::int16_t* above, const std::int16_t* row, const std::int16_t* below,
                         const std::uint8_t* shownAbove, const std::uint8_t* shown, const std::uint8_t* shownBelow,
                         int count, std::int32_t* ex, std::int32_t* ny) {
    for (int x = 0; x < count; ++x) {
        const std::int32_t c = row[x];
        std::int32_t nw = above[x - 1], n = above[x], ne = above[x + 1];
        std::int32_t w = row[x - 1], e = row[x + 1];
        std::int32_t sw = below[x - 1], s = below[x], se = below[x + 1];
        if constexpr (Masked) {
            const auto keepIf = [c](std::int32_t v, std::uint8_t m) { return c + (v - c) * std::int32_t(m != 0); };
            nw = keepIf(nw, shownAbove[x - 1]);
            n = keepIf(n, shownAbove[x]);
            ne = keepIf(ne, shownAbove[x + 1]);
            w = keepIf(w, shown[x - 1]);
            e = keepIf(e, shown[x + 1]);
            sw = keepIf(sw, shownBelow[x - 1]);
            s = keepIf(s, shownBelow[x]);
            se = keepIf(se, shownBelow[x + 1]);
        }
        ex[x] = (ne + 2 * e + se) - (nw + 2 * w + sw);
        ny[x] = (nw + 2 * n + ne) - (sw + 2 * s + se);
    }
}

RUBICEL_WIDE_VECTORS
void plainGradientSums(const std::int16_t* above, const std::int16_t* row, const std::int16_t* below, int count,
                       std::int32_t* ex, std::int32_t* ny) {
    gradientSums<false>(above, row, below, nullptr, nullptr, nullptr, count, ex, ny);
}

// The factor f of pixels 0..count-1 from their gradient numerators, straight-line
// double arithmetic: gx = ex / (8 dx), gy = ny / (8 dy) (multiplied by the
// row's reciprocals), the unit normal (-z gx, -z gy, 1) / norm toward the sun,
// f = (1 - k) + k x max(0, n.s) / sin H, at most 256.
RUBICEL_WIDE_VECTORS
void lightFactors(const ReliefLight& light, const std::int32_t* ex, const std::int32_t* ny, int count,
                  double perEightDx, double perEightDy, double* f) {
    const double zz = light.exaggeration * light.exaggeration;
    const double zSunX = light.exaggeration * light.sunX, zSunY = light.exaggeration * light.sunY;
    const double sunZ = light.sunZ, keep = light.keep, perShade = light.perShade;
    for (int x = 0; x < count; ++x) {
        const double gx = double(ex[x]) * perEightDx;
        const double gy = double(ny[x]) * perEightDy;
        const double norm = std::sqrt(1.0 + zz * (gx * gx + gy * gy));
        const double lit = (sunZ - zSunX * gx - zSunY * gy) / norm;
        // A sun close to the horizon can make f huge; any f of 256 or more
        // turns every channel but 0 into 255, as 256 does.
        const double factor = keep + perShade * (lit > 0.0 ? lit : 0.0);
        f[x] = factor < 256.0 ? factor : 256.0;
    }
}

// Each channel c of pixels 0..count-1 becomes min(255, c x f) rounded half to
// even. Rounding first and capping the whole number after gives the same value
// (255 is whole) and keeps the loop free of branches.
RUBICEL_WIDE_VECTORS
void applyFactors(const double* f, int count, std::uint32_t* pixels, std::uint32_t* before) {
    const auto lit = [](std::uint32_t c, double factor) {
        const std::int32_t v = std::int32_t(roundNonNegative(double(std::int32_t(c)) * factor));
        return std::uint32_t(v < 255 ? v : 255);
    };
    for (int x = 0; x < count; ++x) {
        const std::uint32_t p = pixels[x];
        if (before) before[x] = p;
        pixels[x] = 0xFF000000u | lit((p >> 16) & 0xFF, f[x]) << 16 | lit((p >> 8) & 0xFF, f[x]) << 8 |
                    lit(p & 0xFF, f[x]);
    }
}

// Shades pixels 0..width-1, a chunk at a time; a masked row puts back the
// pixels that show no sample.
template <bool Masked>
void shadeRun(const ReliefLight& light, const std::int16_t* above, const std::int16_t* row,
              const std::int16_t* below, const std::uint8_t* shownAbove, const std::uint8_t* shown,
              const std::uint8_t* shownBelow, int width, double dx, double dy, std::uint32_t* pixels) {
    const double perEightDx = 1.0 / (8.0 * dx);
    const double perEightDy = 1.0 / (8.0 * dy);
    std::int32_t ex[kChunk], ny[kChunk];
    double f[kChunk];
    std::uint32_t before[kChunk];
    for (int x = 0; x < width; x += kChunk) {
        const int count = std::min(kChunk, width - x);
        if constexpr (Masked)
            gradientSums<true>(above + x, row + x, below + x, shownAbove + x, shown + x, shownBelow + x, count, ex,
                               ny);
        else
            plainGradientSums(above + x, row + x, below + x, count, ex, ny);
        lightFactors(light, ex, ny, count, perEightDx, perEightDy, f);
        applyFactors(f, count, pixels + x, Masked ? before : nullptr);
        if constexpr (Masked)
            for (int i = 0; i < count; ++i) {
                const std::uint32_t all = 0u - std::uint32_t(shown[x + i] != 0);  // every bit set where shown
                pixels[x + i] = (pixels[x + i] & all) | (before[i] & ~all);
            }
    }
}

}  // namespace

bool validRelief(const ReliefSettings& s) {
    return std::isfinite(s.azimuth) && s.altitude > 0.0 && s.altitude <= 90.0 && s.exaggeration > 0.0 &&
           std::isfinite(s.exaggeration) && s.strength >= 0.0 && s.strength <= 1.0;
}

ReliefLight reliefLight(const ReliefSettings& s) {
    ReliefLight light;
    const double A = s.azimuth * kDegree;
    const double H = s.altitude * kDegree;
    light.sunX = std::sin(A) * std::cos(H);
    light.sunY = std::cos(A) * std::cos(H);
    light.sunZ = std::sin(H);
    light.exaggeration = s.exaggeration;
    light.keep = 1.0 - s.strength;
    light.perShade = s.strength / light.sunZ;
    return light;
}

double reliefRowSpacing(int step) { return double(step) * std::numbers::pi * kMarsRadius / (180.0 * 64.0); }

double reliefColumnSpacing(double spacing, double latitude) { return spacing * std::cos(latitude * kDegree); }

void shadeReliefRow(const ReliefLight& light, const std::int16_t* above, const std::int16_t* row,
                    const std::int16_t* below, int width, double dx, double dy, std::uint32_t* pixels) {
    shadeRun<false>(light, above, row, below, nullptr, nullptr, nullptr, width, dx, dy, pixels);
}

void shadeReliefRowMasked(const ReliefLight& light, const std::int16_t* above, const std::int16_t* row,
                          const std::int16_t* below, const std::uint8_t* shownAbove, const std::uint8_t* shown,
                          const std::uint8_t* shownBelow, int width, double dx, double dy, std::uint32_t* pixels) {
    shadeRun<true>(light, above, row, below, shownAbove, shown, shownBelow, width, dx, dy, pixels);
}

void ReliefRows::begin(const ReliefSettings& settings, int width, int height, double dy, bool masked) {
    active_ = settings.on && width > 0 && height > 0;
    if (!active_) return;
    masked_ = masked;
    light_ = reliefLight(settings);
    width_ = width;
    height_ = height;
    stride_ = width + 2;
    dy_ = dy;
    elevations_.assign(std::size_t(3) * std::size_t(stride_), 0);
    if (masked) shown_.assign(std::size_t(3) * std::size_t(stride_), 0);
    std::fill(std::begin(drawn_), std::end(drawn_), 0);
    current_ = 0;
    rows_ = 0;
}

void ReliefRows::closeRow(int slot) {
    std::int16_t* r = row(slot) + 1;
    int end = drawn_[slot] = std::min(drawn_[slot], width_);
    if (masked_) {
        std::uint8_t* m = mask(slot) + 1;
        m[-1] = 0;
        m[width_] = 0;
        return;
    }
    if (end == 0) return;
    // The last drawn pixel stands in for every neighbour beyond it.
    r[-1] = r[0];
    std::fill(r + end, r + width_ + 1, r[end - 1]);
}

void ReliefRows::shade(Raster& image, int y, int above, int centre, int below) {
    const int width = std::min(drawn_[centre], image.width());
    if (width <= 0 || y >= image.height()) return;
    if (drawn_[above] == 0) above = centre;
    if (drawn_[below] == 0) below = centre;
    if (masked_)
        shadeReliefRowMasked(light_, row(above) + 1, row(centre) + 1, row(below) + 1, mask(above) + 1,
                             mask(centre) + 1, mask(below) + 1, width, dx_[centre], dy_, image.row(y));
    else
        shadeReliefRow(light_, row(above) + 1, row(centre) + 1, row(below) + 1, width, dx_[centre], dy_,
                       image.row(y));
}

int ReliefRows::rowDrawn(Raster& image, int y, double dx) {
    if (!active_ || y != rows_ || y >= height_) return y;
    if (image.width() != width_ || image.height() != height_) {
        // The picture was replaced while the map was drawn: the rest stays as coloured.
        active_ = false;
        return y;
    }
    closeRow(current_);
    dx_[current_] = dx;
    ++rows_;
    int changed = y;
    if (y >= 1) {
        const int centre = (current_ + 2) % 3;
        const int above = y >= 2 ? (current_ + 1) % 3 : centre;
        shade(image, y - 1, above, centre, current_);
        changed = y - 1;
    }
    // The next row takes the slot of the row above the one just shaded.
    current_ = (current_ + 1) % 3;
    drawn_[current_] = 0;
    return changed;
}

int ReliefRows::finish(Raster& image) {
    if (!active_ || rows_ == 0) return -1;
    active_ = false;
    if (image.width() != width_ || image.height() != height_) return -1;
    const int last = (current_ + 2) % 3;
    const int above = rows_ >= 2 ? (current_ + 1) % 3 : last;
    shade(image, rows_ - 1, above, last, last);
    return rows_ - 1;
}

}  // namespace rubicel
