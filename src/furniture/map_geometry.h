// SPDX-License-Identifier: MIT
// map_geometry.h: where places lie on a finished map picture, and its scale, from the samples its pixels show.
#pragma once

#include <optional>
#include <vector>

#include "maps/drawn_map.h"
#include "maps/polar_grid.h"

namespace rubicel {

struct MapPicture;

// A point of the map picture, in pixels from its north-west corner: the
// centre of pixel (i, j) is at (i + 0.5, j + 0.5).
struct PicturePoint {
    double x = 0;
    double y = 0;
};

// The geometry of the pixels a finished map shows, taken from the samples the
// renderer put in them (drawnSample), so the furniture lies where the read-out
// and the georeferenced files place the same pixels.
//
// An equirectangular map (tile, planet, feature, box): column x stands for the
// east longitudes from its samples' west edge up to the next column's, row y
// for the latitudes from its samples' north edge down to the next row's;
// where the renderer jumps a seam the jump is in these edges too. A polar map:
// polar stereographic, true to scale at the pole.
class MapGeometry {
public:
    // The map the picture shows over the pixels that show samples; nothing
    // when it shows no finished map.
    static std::optional<MapGeometry> of(const MapPicture& picture);
    // The map over its first width by height pixels (at most those it drew).
    static std::optional<MapGeometry> of(const DrawnMap& map, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    int step() const { return step_; }
    bool polar() const { return pole_ != 0; }
    int pole() const { return pole_; }  // 1 north, -1 south, 0 equirectangular

    // Equirectangular maps. The east longitude of column x's west edge for x
    // from 0 to width() (width() the map's east edge); longitudes grow across
    // the map, past 180 where it runs on past 180.
    double columnWest(int x) const { return columnWest_[std::size_t(x)]; }
    // The latitude of row y's north edge, for y from 0 to height().
    double rowNorth(int y) const { return rowNorth_[std::size_t(y)]; }
    // The column whose longitudes hold longitude (or longitude plus or minus
    // 360, whichever the map shows); nothing off the map.
    std::optional<int> columnHolding(double longitude) const;
    // The row whose latitudes hold latitude; a latitude on the edge between
    // two rows belongs to the row south of it. Nothing off the map.
    std::optional<int> rowHolding(double latitude) const;
    // The map's longitude in its own turn (between columnWest(0) and
    // columnWest(width())) for a longitude of any turn; nothing off the map.
    std::optional<double> shownLongitude(double longitude) const;

    // Polar maps: the pole's place, the radius of the limit circle and of the
    // parallel at latitude, in pixels.
    PicturePoint poleAt() const { return {double(grid_.n), double(grid_.n)}; }
    double rimRadius() const { return grid_.rho / grid_.size; }
    double parallelRadius(double latitude) const;
    int limit() const { return grid_.limit; }

    // Any map: where the place at latitude and east longitude lies; nothing
    // when the map does not show it.
    std::optional<PicturePoint> pointOf(double latitude, double longitude) const;
    // Whether the picture's point p shows the map (inside the pixels drawn,
    // and on a polar map inside the limit circle).
    bool shows(PicturePoint p) const;
    // Kilometres of ground a pixel spans at latitude: along the meridian on an
    // equirectangular map (along the parallel it is cos(latitude) of that);
    // in every direction on a polar map.
    double kilometresPerPixel(double latitude) const;
    // Pixels per degree of latitude where the map is true to scale: 64 / step.
    double pixelsPerDegree() const { return 64.0 / double(step_); }

private:
    MapGeometry() = default;

    int width_ = 0;
    int height_ = 0;
    int step_ = 1;
    int pole_ = 0;
    std::vector<double> columnWest_;  // width_ + 1 edges
    std::vector<double> rowNorth_;    // height_ + 1 edges
    PolarGrid grid_;
};

// Mars' mean radius, kilometres: the sphere of the data set.
inline constexpr double kMarsRadiusKm = kPolarSphereRadius / 1000.0;

}  // namespace rubicel
