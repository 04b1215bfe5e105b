// SPDX-License-Identifier: MIT
// graticule.h: meridians and parallels every few degrees, with their labels.
#pragma once

#include <string>

#include "furniture/furniture_layout.h"

namespace rubicel {

class LabelBoard;

// Neighbouring grid lines stand at least this far apart, pixels.
inline constexpr double kGridSpacing = 64.0;

// Degrees between grid lines drawn unitsPerDegree to the degree (pixels of a
// picture, points of a page): the smallest of 1, 2, 5, 10, 15, 30, 45 and 90
// at which they lie spacing apart; 90 when none does.
int graticuleInterval(double unitsPerDegree, double spacing);
// At step: lines 64 / step pixels to the degree, kGridSpacing apart.
int graticuleInterval(int step);

// The labels of the lines: "30°N", "0°", "30°S"; east longitudes from 0 up to
// 360 whatever the turn given, "0°E" to "330°E".
std::string latitudeText(long long degrees);
std::string longitudeText(long long degrees);

// Lays out the grid lines of map every layers.gridInterval degrees (at 0 the
// interval of the map's step) and labels them where the board has room, taking
// the room of each label placed; with GridLabels::OutsideFrame it leaves out
// the labels a figure prints beside its frame.
void layOutGraticule(const MapGeometry& map, const FurnitureLayers& layers, const LabelFont& font, LabelBoard& board,
                     FurnitureLayout& layout);

}  // namespace rubicel
