// SPDX-License-Identifier: MIT
// scale_bar.h: the scale bar in the map's bottom-left corner.
#pragma once

#include <string>

#include "furniture/furniture_layout.h"

namespace rubicel {

class LabelBoard;

// The longest of 1, 2 and 5 times a power of ten kilometres not over
// kilometres; 0 below 1 km.
double roundScaleLength(double kilometres);

// "500 km", "2 000 km": kilometres in groups of three digits.
std::string scaleLengthText(double kilometres);

// Lays out the scale bar of map: at most a fifth of the map's width long,
// true at the map's centre latitude (a polar map: at the pole), named "at 42°N"
// when the scale changes by more than 2% over the map's height. Nothing when
// the map is too small to hold it. Takes its room on the board.
void layOutScaleBar(const MapGeometry& map, const LabelFont& font, LabelBoard& board, FurnitureLayout& layout);

}  // namespace rubicel
