// SPDX-License-Identifier: MIT
// figure_style.h: how a figure looks on its page: units, type sizes, room between its parts, line widths and colours; one set for every backend.
#pragma once

#include "furniture/furniture_style.h"

namespace rubicel {

// A figure's page is measured in points, 72 to the inch, from its top-left
// corner, x to the right and y down (as SVG user units and Cairo's PDF
// surfaces have it). A millimetre is 72 / 25.4 = 2.8346 points.
inline constexpr double kPointsPerInch = 72.0;
inline constexpr double kMillimetresPerInch = 25.4;
constexpr double pointsOfMm(double mm) { return mm * kPointsPerInch / kMillimetresPerInch; }
constexpr double mmOfPoints(double points) { return points * kMillimetresPerInch / kPointsPerInch; }

// The page's width: a journal's double column unless asked otherwise, from a
// narrow single column to a poster's metre.
inline constexpr double kFigureWidthMm = 180.0;
inline constexpr double kFigureWidthMinMm = 40.0;
inline constexpr double kFigureWidthMaxMm = 1000.0;

// Type sizes (the em), points: printed at the figure's width, as journals ask
// (6 to 8 points for labels).
inline constexpr double kTitleSize = 10.0;
inline constexpr double kLabelSize = 7.0;   // the graticule's labels, the colour bar's annotations and name
inline constexpr double kCreditSize = 5.5;  // the credit line, "small type"
inline constexpr double kLineSpacing = 1.2;  // the baselines of a text broken into lines, ems apart

// The furniture over the map (grid lines, names, landing sites, the scale
// bar) prints with a unit of its style (FurnitureLayout::unit) this many
// points wide whatever the picture's pixels: its small text (11 units) at
// 6 points, the largest names at 8.8, grid lines 0.55 points wide.
inline constexpr double kFurniturePoints = 0.55;

// Room, millimetres.
inline constexpr double kMarginMm = 3.0;          // from the page's edges to anything printed
inline constexpr double kTitleGapMm = 2.5;        // from the title's last line to the map's frame and labels
inline constexpr double kTickMm = 1.2;            // a tick's length outside the frame
inline constexpr double kTickGapMm = 0.8;         // from a tick's end to its label
inline constexpr double kFigureGridSpacingMm = 10.0;  // grid lines and ticks at least this far apart on the page
inline constexpr double kLabelClearMm = 0.7;      // labels outside the frame kept this far apart
inline constexpr double kBarGapMm = 5.0;          // from the map's labels to the colour bar
inline constexpr double kBarHeightMm = 3.0;
inline constexpr double kBarTickMm = 1.0;         // annotation ticks, down from the bar's lower edge
inline constexpr double kBarShare = 0.6;          // of the frame's width the bar takes,
inline constexpr double kBarLeastMm = 60.0;       // but at least this (never more than the frame)
inline constexpr double kBarNameGapMm = 1.0;      // from the annotations to "Elevation (m)"
inline constexpr double kCreditGapMm = 3.0;       // from the colour bar's name to the credit line

// Lines, points.
inline constexpr double kFrameWidth = 0.5;
inline constexpr double kTickWidth = 0.4;
inline constexpr double kBarEdgeWidth = 0.4;

// Everything printed outside the map: black on a white page.
inline constexpr FurnitureColour kFigureInk = {0.0, 0.0, 0.0, 1.0};
inline constexpr FurnitureColour kFigurePage = {1.0, 1.0, 1.0, 1.0};

}  // namespace rubicel
