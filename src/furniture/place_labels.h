// SPDX-License-Identifier: MIT
// place_labels.h: the landing sites' markers and names and the features' names, placed greedily where there is room.
#pragma once

#include <span>
#include <vector>

#include "furniture/furniture_layout.h"

namespace rubicel {

class LabelBoard;

// A feature is named when its diameter spans at least this many pixels (units
// of FurnitureLayout::unit pixels; so is the marker's radius).
inline constexpr double kNamedDiameter = 12.0;
inline constexpr double kMarkerRadius = 3.5;

// Two features share a centre when their centres lie closer than this share
// of the smaller one's diameter.
inline constexpr double kSharedCentre = 0.1;

// The size by which each of features takes its turn to be named: its own
// diameter, or the diameter of the smallest feature it shares its centre with
// (a ring of scarps around a volcano, a group of mountains around its middle
// one). The larger one's name would sit on the smaller and name it wrongly, so
// the smaller is named first and the larger goes beside it, where there is
// room.
std::vector<double> namingSizes(std::span<const PlaceInView> features);

// The text size of a feature's name by its diameter on the map.
TextSize nameSize(double diameterPixels);

// Marks every landing site of places the map shows and names it where the
// board has room, right of the marker first; the sites in the order of their
// names.
void layOutLandingSites(const MapGeometry& map, const LabelFont& font, std::span<const MapPlace> places,
                        LabelBoard& board, FurnitureLayout& layout);

// Names the features in view, the largest first by namingSizes (ties: the
// smaller feature, then by name, then place):
// each at the first of centred on it (when the name fits inside its circle),
// above-right, above-left, below-right, below-left, right and left of its
// centre that lies on the map and where the board has room; a name with no
// such place is left out.
void layOutPlaceNames(const MapGeometry& map, const LabelFont& font, std::span<const MapPlace> places,
                      LabelBoard& board, FurnitureLayout& layout);

}  // namespace rubicel
