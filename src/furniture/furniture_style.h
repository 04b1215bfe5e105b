// SPDX-License-Identifier: MIT
// furniture_style.h: how the map furniture looks: text sizes, line and halo widths, colours; one set for every backend.
#pragma once

#include <array>

namespace rubicel {

// The three sizes text is printed in, and their em sizes in pixels of the map
// picture. The graticule, the scale bar and the landing sites print small;
// place names by the size of their feature.
enum class TextSize { Small, Medium, Large };
inline constexpr std::array<double, 3> kTextPixels = {11.0, 13.0, 16.0};
inline constexpr double textPixels(TextSize size) { return kTextPixels[std::size_t(size)]; }

// Colours as red, green, blue and opacity, each 0 to 1.
struct FurnitureColour {
    double red, green, blue, alpha;
};

// A grid line: one pixel of white at half opacity over a three-pixel dark
// edge, so it shows over the lightest and the darkest colours and relief alike.
inline constexpr double kGridLineWidth = 1.0;
inline constexpr FurnitureColour kGridLineColour = {1.0, 1.0, 1.0, 0.5};
inline constexpr double kGridEdgeWidth = 3.0;
inline constexpr FurnitureColour kGridEdgeColour = {0.0, 0.0, 0.0, 0.25};

// Text: dark letters over a light halo, stroked round the letters' outlines
// haloWidth wide before the letters are filled.
inline constexpr FurnitureColour kTextColour = {0.05, 0.05, 0.05, 1.0};
inline constexpr FurnitureColour kHaloColour = {1.0, 1.0, 1.0, 0.8};
inline constexpr double kHaloWidth = 3.0;

// A landing site: a filled circle of the marker's radius, with a white ring.
inline constexpr FurnitureColour kMarkerColour = {0.85, 0.1, 0.1, 1.0};
inline constexpr FurnitureColour kMarkerRingColour = {1.0, 1.0, 1.0, 1.0};
inline constexpr double kMarkerRingWidth = 1.0;

// The scale bar: its rectangle filled white and edged dark one pixel wide.
inline constexpr FurnitureColour kScaleBarFill = {1.0, 1.0, 1.0, 0.9};
inline constexpr FurnitureColour kScaleBarEdge = {0.05, 0.05, 0.05, 1.0};
inline constexpr double kScaleBarEdgeWidth = 1.0;

}  // namespace rubicel
