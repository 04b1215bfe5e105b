// SPDX-License-Identifier: MIT
// feature_grid.h: the named features sorted into cells of 1° by 1°, smallest first, for the pointer read-out.
#pragma once

#include <cstdint>
#include <vector>

#include "places/place.h"

namespace rubicel {

// Each 1° cell lists the features whose extent reaches into it, smallest
// diameter first, so that the first feature of the cell that holds a point is
// the smallest one there: a look-up tests a handful of boxes.
class FeatureGrid {
public:
    // Features are kept as 16-bit positions: the first this many places count.
    static constexpr std::size_t kMaxPlaces = 65536;

    // Takes the features of places that have a size (not the landing sites,
    // not the features of diameter 0).
    explicit FeatureGrid(const std::vector<Place>& places);

    // The position in places of the smallest feature whose extent holds the
    // point, or -1.
    int at(const std::vector<Place>& places, double latitude, double longitude) const;

private:
    std::vector<std::uint32_t> cellStart_;  // 180 x 360 cells, row 0 at 90°S, column 0 at 0°E, and the end
    std::vector<std::uint16_t> entries_;    // positions in places, by cell
};

}  // namespace rubicel
