// SPDX-License-Identifier: MIT
// scale_bar.cpp: the scale bar in the map's bottom-left corner.
#include "furniture/scale_bar.h"

#include <algorithm>
#include <cmath>

#include "furniture/graticule.h"
#include "furniture/label_board.h"
#include "furniture/label_font.h"
#include "maps/polar_grid.h"

namespace rubicel {

namespace {

constexpr double kMapShare = 0.2;        // of the map's width, at most
constexpr double kScaleTolerance = 1.02;  // the largest change of scale left unnamed
constexpr double kInset = 8.0;           // from the map's left and bottom edges, pixels
constexpr double kBarHeight = 5.0;
constexpr double kLabelGapAbove = 2.0;

}  // namespace

double roundScaleLength(double kilometres) {
    if (!(kilometres >= 1.0) || !std::isfinite(kilometres)) return 0.0;
    const double power = std::pow(10.0, std::floor(std::log10(kilometres)));
    for (const double m : {5.0, 2.0, 1.0})
        if (m * power <= kilometres) return m * power;
    return power / 2.0;  // log10 rounded up past kilometres: 5 of the power below
}

std::string scaleLengthText(double kilometres) {
    const std::string digits = std::to_string(std::llround(kilometres));
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ' ';
        text += digits[i];
    }
    return text + " km";
}

void layOutScaleBar(const MapGeometry& map, const LabelFont& font, LabelBoard& board, FurnitureLayout& layout) {
    ScaleBar bar;
    double kilometresPerPixel;
    double change;  // the largest scale over the map against the smallest
    if (map.polar()) {
        bar.latitude = 90.0 * map.pole();
        kilometresPerPixel = map.kilometresPerPixel(bar.latitude);
        // Stereographic: the scale grows away from the pole, most at the limit circle.
        change = 2.0 / (1.0 + std::sin(double(map.limit()) * kRadiansPerDegree));
    } else {
        const double north = map.rowNorth(0), south = map.rowNorth(map.height());
        bar.latitude = (north + south) / 2.0;
        kilometresPerPixel = map.kilometresPerPixel(bar.latitude) * std::cos(bar.latitude * kRadiansPerDegree);
        // Along the parallels a pixel spans cos(latitude) of its span at the equator.
        const double nearest = north >= 0 && south <= 0 ? 0.0 : std::min(std::fabs(north), std::fabs(south));
        const double farthest = std::max(std::fabs(north), std::fabs(south));
        change = std::cos(nearest * kRadiansPerDegree) / std::cos(farthest * kRadiansPerDegree);
    }
    bar.kilometres = roundScaleLength(kMapShare * map.width() * kilometresPerPixel);
    if (bar.kilometres == 0.0) return;
    bar.latitudeNamed = !(change <= kScaleTolerance);  // also where the map reaches a pole
    std::string text = scaleLengthText(bar.kilometres);
    if (bar.latitudeNamed) text += " at " + latitudeText((long long)std::nearbyint(bar.latitude));

    const double u = layout.unit;
    bar.bar = {kInset * u, map.height() - (kInset + kBarHeight) * u, bar.kilometres / kilometresPerPixel, kBarHeight * u};
    const MeasuredText label = measureText(font, std::move(text), TextSize::Small, u);
    const PictureBox labelBox{kInset * u, bar.bar.top - kLabelGapAbove * u - label.height, label.width, label.height};
    const PictureBox picture{0, 0, double(map.width()), double(map.height())};
    if (!picture.contains(bar.bar) || !picture.contains(labelBox)) return;
    board.take(bar.bar);
    board.take(labelBox);
    layout.labels.push_back(labelAt(label, LabelRole::ScaleBar, labelBox.left, labelBox.top,
                                    {bar.bar.left, bar.bar.top}, LabelPlacement::AboveRight));
    layout.scaleBar = bar;
}

}  // namespace rubicel
