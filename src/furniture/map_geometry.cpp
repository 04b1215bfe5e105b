// SPDX-License-Identifier: MIT
// map_geometry.cpp: where places lie on a finished map picture, and its scale, from the samples its pixels show.
#include "furniture/map_geometry.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "maps/map_picture.h"

namespace rubicel {

namespace {

constexpr double kSampleDegrees = 1.0 / 64.0;

}  // namespace

std::optional<MapGeometry> MapGeometry::of(const MapPicture& picture) {
    const PixelExtent extent = drawnExtent(picture);
    if (extent.width == 0) return std::nullopt;
    return of(picture.shows, extent.width, extent.height);
}

std::optional<MapGeometry> MapGeometry::of(const DrawnMap& map, int width, int height) {
    if (!map.valid || width <= 0 || height <= 0 || height > map.rows || width > map.westPixels + map.eastPixels)
        return std::nullopt;
    MapGeometry g;
    g.width_ = width;
    g.height_ = height;
    g.step_ = map.step;
    g.pole_ = map.pole;
    if (map.pole != 0) {
        g.grid_ = polarGrid(map.pole, map.limit, map.step);
        g.grid_.n = map.half;
        return g;
    }
    // A sample's place is its cell's centre: the cell's west and north edges lie
    // half a sample away. The last column and row stand for step samples.
    const double span = double(map.step) * kSampleDegrees;
    g.columnWest_.resize(std::size_t(width) + 1);
    for (int x = 0; x < width; ++x) {
        const auto s = drawnSample(map, x, 0);
        if (!s) return std::nullopt;
        g.columnWest_[std::size_t(x)] = s->longitude - kSampleDegrees / 2;
    }
    g.columnWest_[std::size_t(width)] = g.columnWest_[std::size_t(width) - 1] + span;
    g.rowNorth_.resize(std::size_t(height) + 1);
    for (int y = 0; y < height; ++y) {
        const auto s = drawnSample(map, 0, y);
        if (!s) return std::nullopt;
        g.rowNorth_[std::size_t(y)] = s->latitude + kSampleDegrees / 2;
    }
    g.rowNorth_[std::size_t(height)] = g.rowNorth_[std::size_t(height) - 1] - span;
    return g;
}

std::optional<double> MapGeometry::shownLongitude(double longitude) const {
    if (polar()) return std::nullopt;
    const double west = columnWest_.front(), east = columnWest_.back();
    for (const double turn : {0.0, -360.0, 360.0, -720.0, 720.0}) {
        const double l = longitude + turn;
        if (west <= l && l < east) return l;
    }
    return std::nullopt;
}

std::optional<int> MapGeometry::columnHolding(double longitude) const {
    const auto l = shownLongitude(longitude);
    if (!l) return std::nullopt;
    // The last edge not east of l.
    const auto edge = std::upper_bound(columnWest_.begin(), columnWest_.end(), *l);
    return int(edge - columnWest_.begin()) - 1;
}

std::optional<int> MapGeometry::rowHolding(double latitude) const {
    if (polar() || !(rowNorth_.back() < latitude && latitude <= rowNorth_.front())) return std::nullopt;
    // The last edge not south of the latitude; edges fall from north to south.
    const auto edge = std::upper_bound(rowNorth_.begin(), rowNorth_.end(), latitude, std::greater<double>());
    return int(edge - rowNorth_.begin()) - 1;
}

double MapGeometry::parallelRadius(double latitude) const {
    const double colatitude = pole_ > 0 ? 90.0 - latitude : 90.0 + latitude;
    return 2.0 * kPolarSphereRadius * std::tan(colatitude / 2.0 * kRadiansPerDegree) / grid_.size;
}

bool MapGeometry::shows(PicturePoint p) const {
    if (!(p.x >= 0 && p.y >= 0 && p.x <= width_ && p.y <= height_)) return false;
    if (!polar()) return true;
    const PicturePoint centre = poleAt();
    return std::hypot(p.x - centre.x, p.y - centre.y) <= rimRadius();
}

std::optional<PicturePoint> MapGeometry::pointOf(double latitude, double longitude) const {
    if (polar()) {
        const PolarPicturePoint p = polarPicturePoint(grid_, latitude, longitude);
        const PicturePoint point{p.x, p.y};
        if (latitude * pole_ < grid_.limit || !shows(point)) return std::nullopt;
        return point;
    }
    const auto x = columnHolding(longitude);
    const auto y = rowHolding(latitude);
    if (!x || !y) return std::nullopt;
    const double l = *shownLongitude(longitude);
    const std::size_t i = std::size_t(*x), j = std::size_t(*y);
    return PicturePoint{
        double(*x) + (l - columnWest_[i]) / (columnWest_[i + 1] - columnWest_[i]),
        double(*y) + (rowNorth_[j] - latitude) / (rowNorth_[j] - rowNorth_[j + 1])};
}

double MapGeometry::kilometresPerPixel(double latitude) const {
    if (polar()) {
        // The stereographic scale grows from 1 at the pole to 2 / (1 + sin φ).
        const double scale = 2.0 / (1.0 + std::sin(std::fabs(latitude) * kRadiansPerDegree));
        return grid_.size / 1000.0 / scale;
    }
    return double(step_) * kSampleDegrees * kRadiansPerDegree * kMarsRadiusKm;
}

}  // namespace rubicel
