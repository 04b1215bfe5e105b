// SPDX-License-Identifier: MIT
// map_geometry.h: where the pixels of a drawn map lie on Mars: the sample each one shows, and one affine transform for all.
#pragma once

#include <optional>

#include "maps/map_state.h"

namespace rubicel {

struct MapRequest;

// The sample a map pixel shows: its tile, record (from 1) and column (from 0),
// and the north-west corner of the sample's cell in degrees (planetocentric
// latitude, east longitude, continuing past 180 for boxes that run on east).
struct SamplePlace {
    int tile;
    int record;
    int column;
    double longitude;
    double latitude;
};

// The north-west corner of pixel (0, 0) and the size of a pixel in degrees; the
// pixel height is negative, rows running south.
struct GeoTransform {
    double west;
    double north;
    double pixelWidth;
    double pixelHeight;
};

// The renderers' own choice of records and columns, replayed for any pixel.
class MapGeometry {
    static constexpr int kNoEnd = 1 << 30;

public:
    // The geometry of request drawn at step into a picture of width x height
    // pixels. Nothing for a box whose north-west corner lies outside every tile.
    static std::optional<MapGeometry> of(const MapRequest& request, int step, int width, int height);

    // The sample that pixel (x, y) shows, or nothing when no drawn row or column
    // reaches the pixel.
    std::optional<SamplePlace> place(int x, int y) const;

    // The transform that puts pixel (0, 0) on its sample and every pixel step
    // samples from its neighbours. It is exact up to the seams the renderer
    // jumps: past the tile's east edge and past the equator.
    GeoTransform transform() const;

private:
    int tile_ = 0;                  // tile of the north-west corner
    bool northern_ = false;         // whether rows go on into the tile below
    double tileWest_ = 0, tileTop_ = 0;
    int firstRow_ = 0;              // row position of the first map row in the tile
    int endRecord_ = kNoEnd;        // rows after the first are drawn while their record is below it
    int firstColumn_ = 0;
    int step_ = 1;
    int westColumns_ = 0;           // map columns from the corner's tile
    int eastColumns_ = 0;           // map columns from its east neighbour
    int northRows_ = 0;             // map rows before the switch to the tile below
    int width_ = 0, height_ = 0;
};

}  // namespace rubicel
