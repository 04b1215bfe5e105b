// SPDX-License-Identifier: MIT
// graticule.h: meridians and parallels every few degrees, with their labels.
#pragma once

#include <string>

#include "furniture/furniture_layout.h"

namespace rubicel {

class LabelBoard;

// Neighbouring grid lines stand at least this far apart, pixels.
inline constexpr double kGridSpacing = 64.0;

// Degrees between grid lines at step: the smallest of 1, 2, 5, 10, 15, 30, 45
// and 90 at which lines 64 / step pixels to the degree lie kGridSpacing apart.
int graticuleInterval(int step);

// The labels of the lines: "30°N", "0°", "30°S"; east longitudes from 0 up to
// 360 whatever the turn given, "0°E" to "330°E".
std::string latitudeText(long long degrees);
std::string longitudeText(long long degrees);

// Lays out the grid lines of map and labels them where the board has room,
// taking the room of each label placed.
void layOutGraticule(const MapGeometry& map, const LabelFont& font, LabelBoard& board, FurnitureLayout& layout);

}  // namespace rubicel
