// SPDX-License-Identifier: MIT
// geo_transform.cpp: the one affine transform that places a finished map's pixels on Mars.
#include "export/geo_transform.h"

#include "maps/drawn_map.h"
#include "maps/map_picture.h"
#include "maps/polar_grid.h"

namespace rubicel {

namespace {

constexpr double kSampleDegrees = 1.0 / 64.0;  // the data set's grid, along rows and columns alike

}  // namespace

std::optional<GeoTransform> geoTransformOf(const MapPicture& picture) {
    // The sample of pixel (0, 0), as the renderer took it; its place is the
    // centre of the sample's cell, the pixel's corner is the cell's corner.
    const DrawnMap& map = picture.shows;
    if (map.pole != 0) {
        if (drawnExtent(picture).width == 0) return std::nullopt;
        const double size = polarGrid(map.pole, map.limit, map.step).size;
        const double corner = double(map.half) * size;
        return GeoTransform{-corner, corner, size, -size, map.pole};
    }
    const auto first = pixelSample(picture, 0, 0);
    if (!first) return std::nullopt;
    const double size = picture.shows.step * kSampleDegrees;
    return GeoTransform{first->longitude - kSampleDegrees / 2, first->latitude + kSampleDegrees / 2, size, -size, 0};
}

}  // namespace rubicel
