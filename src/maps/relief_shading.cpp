// SPDX-License-Identifier: MIT
// relief_shading.cpp: the lighting, and the shading stage that lights a map row once the row below it is drawn.
#include "maps/relief_shading.h"

#include "maps/relief_kernel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rubicel {
namespace {

// The radius of the Mars sphere the georeferenced output uses, metres.
constexpr double kMarsRadius = 3396190.0;
constexpr double kDegree = std::numbers::pi / 180.0;

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
    float* r = row(slot) + 1;
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
