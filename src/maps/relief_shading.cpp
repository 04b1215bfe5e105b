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

// The new value of channel c under factor f: min(255, c x f) rounded half to even.
inline std::uint32_t litChannel(std::uint32_t c, double f) {
    return std::uint32_t(roundNonNegative(std::min(255.0, double(c) * f)));
}

// Shades pixels 0..width-1. Per pixel, straight-line double arithmetic on the
// 3 x 3 neighbourhood (n north, s south, w west, e east); masked rows replace a
// neighbour that shows no sample by the centre and leave a centre that shows
// none as it was.
template <bool Masked>
inline void shadeRun(const ReliefLight& light, const std::int16_t* above, const std::int16_t* row,
                     const std::int16_t* below, const std::uint8_t* shownAbove, const std::uint8_t* shown,
                     const std::uint8_t* shownBelow, int width, double dx, double dy, std::uint32_t* pixels) {
    const double eightDx = 8.0 * dx;
    const double eightDy = 8.0 * dy;
    const double z = light.exaggeration;
    const double zz = z * z;
    const double sunX = light.sunX, sunY = light.sunY, sunZ = light.sunZ;
    const double keep = light.keep, perShade = light.perShade;
    for (int x = 0; x < width; ++x) {
        const double c = row[x];
        double nw = above[x - 1], n = above[x], ne = above[x + 1];
        double w = row[x - 1], e = row[x + 1];
        double sw = below[x - 1], s = below[x], se = below[x + 1];
        if constexpr (Masked) {
            nw = shownAbove[x - 1] ? nw : c;
            n = shownAbove[x] ? n : c;
            ne = shownAbove[x + 1] ? ne : c;
            w = shown[x - 1] ? w : c;
            e = shown[x + 1] ? e : c;
            sw = shownBelow[x - 1] ? sw : c;
            s = shownBelow[x] ? s : c;
            se = shownBelow[x + 1] ? se : c;
        }
        // Horn's gradient: east minus west, north minus south.
        const double gx = ((ne + 2.0 * e + se) - (nw + 2.0 * w + sw)) / eightDx;
        const double gy = ((nw + 2.0 * n + ne) - (sw + 2.0 * s + se)) / eightDy;
        // The unit normal (-z gx, -z gy, 1) / norm toward the sun.
        const double norm = std::sqrt(1.0 + zz * (gx * gx + gy * gy));
        const double light = (sunZ - z * gx * sunX - z * gy * sunY) / norm;
        const double f = keep + perShade * std::max(0.0, light);

        const std::uint32_t p = pixels[x];
        const std::uint32_t lit = 0xFF000000u | litChannel((p >> 16) & 0xFF, f) << 16 |
                                  litChannel((p >> 8) & 0xFF, f) << 8 | litChannel(p & 0xFF, f);
        if constexpr (Masked)
            pixels[x] = shown[x] ? lit : p;
        else
            pixels[x] = lit;
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
