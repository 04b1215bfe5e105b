// SPDX-License-Identifier: MIT
// map_geometry.cpp: where the pixels of a drawn map lie on Mars: the sample each one shows, and one affine transform for all.
#include "export/map_geometry.h"

#include <algorithm>

#include "export/map_request.h"
#include "maps/render_support.h"
#include "maps/tile_file.h"

namespace rubicel {

namespace {

// The data set has 64 samples to the degree along rows and columns alike; only
// the renderer's choice of the first column uses the 11519 scale.
constexpr double kSamplesPerDegree = 64.0;

}  // namespace

std::optional<MapGeometry> MapGeometry::of(const MapRequest& r, int step, int width, int height) {
    if (step < 1) return std::nullopt;
    MapGeometry g;
    g.step_ = step;
    g.width_ = width;
    g.height_ = height;
    MapState state;
    if (r.kind == MapRequest::Kind::Tile) {
        // The whole tile from its north-west corner, every step-th column up to
        // 11518 and every step-th record up to 5759.
        const bool west = r.tileEntry == 1 || r.tileEntry == 3;
        const bool north = r.tileEntry >= 2;
        g.tile_ = FindTile(state, std::int16_t(west ? -180 : 0), std::int16_t(north ? 90 : 0));
        g.tileWest_ = state.tilewest;
        g.tileTop_ = state.tiletop;
        g.westColumns_ = runLength(0, kLastColumn, step);
        g.northRows_ = runLength(1, kTileRows, step);
        return g;
    }
    g.tile_ = FindTile(state, r.west, r.north);
    if (r.west < state.tilewest || r.west >= state.tileeast || r.north > state.tiletop || r.north <= state.tilebottom)
        return std::nullopt;
    g.tileWest_ = state.tilewest;
    g.tileTop_ = state.tiletop;
    g.northern_ = g.tile_ >= 2;
    g.firstRow_ = rowPosition(state, r.north);
    g.firstColumn_ = columnPosition(state, r.west);
    g.endRecord_ = rowPosition(state, r.south);
    const int lastColumn = columnPosition(state, r.east);
    g.westColumns_ = runLength(g.firstColumn_, std::min(kLastColumn, lastColumn), step);
    if (lastColumn > kLastColumn)
        g.eastColumns_ = std::min(runLength(0, lastColumn - kLastColumn, step), kLastColumn / step + 1);
    // Records firstRow + 1, + step, ... while they stay within the tile; the tile
    // below then starts again at record 1.
    g.northRows_ = g.firstRow_ + 1 <= kTileRows ? (kTileRows - g.firstRow_ - 1) / step + 1 : 0;
    return g;
}

std::optional<SamplePlace> MapGeometry::place(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || x >= westColumns_ + eastColumns_) return std::nullopt;
    SamplePlace s{};
    s.tile = tile_;
    double west = tileWest_, top = tileTop_;
    // After its first row a rendering goes on while the next record lies before
    // the box's south edge, counted again from the tile below once it is there.
    if (y < northRows_) {
        s.record = firstRow_ + 1 + y * step_;
        if (y > 0 && s.record >= endRecord_) return std::nullopt;
    } else {
        if (!northern_) return std::nullopt;
        s.record = 1 + (y - northRows_) * step_;
        if (s.record >= endRecord_ - kTileRows) return std::nullopt;
        s.tile -= 2;  // the southern tile below
        top -= 90;
    }
    if (x < westColumns_) {
        s.column = firstColumn_ + x * step_;
    } else {
        s.column = (x - westColumns_) * step_;
        s.tile ^= 1;  // the east neighbour in the same hemisphere
        west += 180;
    }
    s.longitude = west + s.column / kSamplesPerDegree;
    s.latitude = top - (s.record - 1) / kSamplesPerDegree;
    return s;
}

GeoTransform MapGeometry::transform() const {
    const double size = step_ / kSamplesPerDegree;
    return {tileWest_ + firstColumn_ / kSamplesPerDegree, tileTop_ - firstRow_ / kSamplesPerDegree, size, -size};
}

}  // namespace rubicel
