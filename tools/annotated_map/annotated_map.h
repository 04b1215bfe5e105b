// SPDX-License-Identifier: MIT
// annotated_map.h: the annotated map of Mars: MOLA heights in the program's colours, with feature names.
#pragma once

#include <QImage>
#include <cstdint>

#include "tile_builder.h"

namespace rubicel::annotated {

// The picture: 1024 x 397 pixels from longitude -180 to +180 and latitude +57 to -57.
inline constexpr int kWidth = 1024;
inline constexpr int kHeight = 397;
inline constexpr double kWest = -180.0, kEast = 180.0, kNorth = 57.0, kSouth = -57.0;

// How the heights are coloured: scheme and shading mode of the colour engine.
struct Look {
    std::int16_t scheme = 5;  // MOLA multicolour
    std::int16_t mode = 1;    // blended shading
};

// Pixel position of a longitude (east, any turn) and latitude.
QPointF pixelOf(double longitude, double latitude);

// The heights of the picture, interpolated from grid, coloured by the program's
// colour engine: pixel (x, y) shows the height at the pixel's centre.
QImage colourMap(const mktiles::Grid& grid, Look look);

// Draws a light graticule every 30 degrees and the name of every feature of the
// catalogue whose box centre lies in the picture, skipping names that would
// cover one already drawn.
void annotate(QImage& map);

}  // namespace rubicel::annotated
