// SPDX-License-Identifier: MIT
// geo_transform.h: the one affine transform that places a finished map's pixels on Mars.
#pragma once

#include <optional>

namespace rubicel {

struct MapPicture;

// The north-west corner of pixel (0, 0) and the size of a pixel, in degrees of
// planetocentric latitude and east longitude; the pixel height is negative, rows
// running south.
struct GeoTransform {
    double west;
    double north;
    double pixelWidth;
    double pixelHeight;
    // 1 or -1 for a polar map: then west and north are the map coordinates of the
    // corner and the pixel size is in metres, in the polar stereographic system
    // of the north or the south pole.
    int pole = 0;
};

// The transform of the map the picture shows: pixel (0, 0) on the first sample
// drawn, every pixel step samples (step/64 degrees) from its neighbours. It is
// exact up to the seams where the renderer jumps (past a tile's east edge, past
// the equator) and less than a pixel off beyond them. Nothing when the picture
// shows no finished map. A polar map's transform is exact everywhere: corner
// (-n * size, n * size), pixels size by -size metres.
std::optional<GeoTransform> geoTransformOf(const MapPicture& picture);

}  // namespace rubicel
