// SPDX-License-Identifier: MIT
// polar_grid.h: the polar stereographic grid of a polar map: its size, and the sample each pixel shows.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

#include "maps/tile_file.h"

namespace rubicel {

inline constexpr double kPolarSphereRadius = 3396190.0;  // the Mars sphere, metres
inline constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Columns of one hemisphere's two tiles side by side: east longitude 0 to 360.
inline constexpr int kPolarColumns = 2 * kTileColumns;
inline constexpr int kPolarMinLimit = 1;
inline constexpr int kPolarMaxLimit = 89;

// A polar map of the pole (1 north, -1 south) from latitude limit to the pole
// at step: pixels of size metres, 2n x 2n of them, the pole at the corner shared
// by pixels (n - 1, n - 1) and (n, n).
struct PolarGrid {
    int pole = 1;
    int limit = 60;
    int step = 1;
    double size = 0;  // metres per pixel
    double rho = 0;   // the limit circle's distance from the pole on the map, metres
    int n = 0;        // half the picture's side, pixels
};

inline PolarGrid polarGrid(int pole, int limit, int step) {
    PolarGrid g;
    g.pole = pole < 0 ? -1 : 1;
    g.limit = limit;
    g.step = step;
    // At the pole one pixel spans step samples of latitude.
    g.size = double(step) * std::numbers::pi * kPolarSphereRadius / (180.0 * 64.0);
    // The distance of the limit circle from the pole on the map.
    g.rho = 2.0 * kPolarSphereRadius * std::tan((45.0 - double(limit) / 2.0) * kRadiansPerDegree);
    g.n = int(std::ceil(g.rho / g.size));
    return g;
}

// Map coordinates, metres, of the centres of column i and row j.
inline double polarX(const PolarGrid& g, int i) { return (double(i) + 0.5 - double(g.n)) * g.size; }
inline double polarY(const PolarGrid& g, int j) { return (double(g.n) - double(j) - 0.5) * g.size; }

// How many map metres a ground metre takes at map point x, y: the scale of the
// projection, 2 / (1 + sin |latitude|), which is 1 + rho^2 / (2R)^2 at rho
// metres from the pole on the map (1 at the pole, 2 at the equator).
inline double polarScale(double x, double y) {
    constexpr double kDiameterSquared = 4.0 * kPolarSphereRadius * kPolarSphereRadius;
    return 1.0 + (x * x + y * y) / kDiameterSquared;
}

// The record (from 1 at the tiles' north edge) and the column of the
// hemisphere's two tiles side by side (0 to 11519 the tile of east longitudes
// 0 to 180, then the tile of 180 to 360) of the sample holding the point at
// x, y; shown is false beyond the limit circle.
struct PolarPoint {
    bool shown;
    int record;
    int column;
};

template <bool North>
inline PolarPoint polarPoint(double limit, double x, double y) {
    const double t = 2.0 * std::atan(std::sqrt(x * x + y * y) / (2.0 * kPolarSphereRadius)) * kDegreesPerRadian;
    double lambda;
    PolarPoint point;
    if constexpr (North) {
        const double phi = 90.0 - t;
        point.shown = phi >= limit;
        point.record = int(std::floor((90.0 - phi) * 64.0)) + 1;
        lambda = std::atan2(x, -y) * kDegreesPerRadian;
    } else {
        const double phi = -90.0 + t;
        point.shown = -phi >= limit;
        point.record = std::min(int(std::floor(-phi * 64.0)) + 1, kTileRows);
        lambda = std::atan2(x, y) * kDegreesPerRadian;
    }
    lambda = lambda < 0.0 ? lambda + 360.0 : lambda;
    const int column = int(std::floor(lambda * 64.0));
    point.column = column >= kPolarColumns ? column - kPolarColumns : column;
    return point;
}

inline PolarPoint polarPoint(const PolarGrid& g, int i, int j) {
    const double x = polarX(g, i), y = polarY(g, j);
    return g.pole > 0 ? polarPoint<true>(g.limit, x, y) : polarPoint<false>(g.limit, x, y);
}

// The other way: where on the picture the point at latitude and east longitude
// (degrees) lies, in pixels from the picture's north-west corner (the centre of
// pixel (i, j) is at i + 0.5, j + 0.5), so that polarPoint at the map
// coordinates of that place finds the point again.
struct PolarPicturePoint {
    double x, y;
};
inline PolarPicturePoint polarPicturePoint(const PolarGrid& g, double latitude, double longitude) {
    const double colatitude = g.pole > 0 ? 90.0 - latitude : 90.0 + latitude;
    const double rho = 2.0 * kPolarSphereRadius * std::tan(colatitude / 2.0 * kRadiansPerDegree);
    const double lambda = longitude * kRadiansPerDegree;
    // North: longitude atan2(x, -y); south: atan2(x, y).
    const double x = rho * std::sin(lambda);
    const double y = (g.pole > 0 ? -rho : rho) * std::cos(lambda);
    return {double(g.n) + x / g.size, double(g.n) - y / g.size};
}

// The records the map can show: north first..last of the northern tiles, south
// of the southern ones.
struct RecordSpan {
    int first, last;
};
inline RecordSpan polarRecords(const PolarGrid& g) {
    if (g.pole > 0) return {1, std::min(int(std::floor((90.0 - g.limit) * 64.0)) + 1, kTileRows)};
    return {std::min(int(std::floor(g.limit * 64.0)) + 1, kTileRows), kTileRows};
}

// Tile indexes of the hemisphere's tile of east longitudes 0 to 180 and of 180 to 360.
inline int polarEastTile(int pole) { return pole > 0 ? 2 : 0; }
inline int polarWestTile(int pole) { return pole > 0 ? 3 : 1; }

}  // namespace rubicel
