// SPDX-License-Identifier: MIT
// place_map.cpp: the map that shows a named place in a map area of a given size.
#include "windows/place_map.h"

#include <algorithm>
#include <cmath>

#include "maps/polar_grid.h"
#include "maps/polar_renderer.h"
#include "places/place.h"

namespace rubicel {
namespace {

// The pole an extent reaches within 1° of.
constexpr double kNearPole = 89.0;
// How far past the extent's edge a polar map reaches.
constexpr double kPolarMargin = 3.0;

// True when extent e lies within the middle two thirds of box both ways, its
// longitudes taken whole turns apart as needed.
bool fitsMiddle(const GeoBox& e, const AreaBox4& box) {
    const double west = box[0], north = box[1], east = box[2], south = box[3];
    const double marginX = (east - west) / 6.0, marginY = (north - south) / 6.0;
    if (e.south < south + marginY || e.north > north - marginY) return false;
    for (const double turn : {-360.0, 0.0, 360.0})
        if (e.west + turn >= west + marginX && e.east + turn <= east - marginX) return true;
    return false;
}

}  // namespace

PlaceMap placeMap(const Place& place, int width, int height) {
    const GeoBox& e = place.extent;
    PlaceMap map;
    const bool nearNorth = e.north >= kNearPole, nearSouth = e.south <= -kNearPole;
    if (nearNorth || nearSouth || e.east - e.west > 180.0) {
        map.kind = PlaceMap::Kind::Polar;
        const bool north = nearNorth != nearSouth ? nearNorth : e.north + e.south >= 0.0;
        map.pole = north ? 1 : -1;
        const double edge = north ? e.south : -e.north;
        map.limit = std::int16_t(std::clamp(int(std::floor(edge - kPolarMargin)), kPolarMinLimit, kPolarMaxLimit));
        map.step = automaticPolarStep(map.limit, width, height);
        return map;
    }
    for (const std::int16_t step : kPlaceAreaSteps) {
        const auto box = zoomBox(place.longitude, place.latitude, width / 2.0, height / 2.0, width, height, step);
        if (box && fitsMiddle(e, *box)) {
            map.box = *box;
            map.step = step;
            return map;
        }
    }
    map.kind = PlaceMap::Kind::Planet;
    const double fromZero = std::min(place.longitude, 360.0 - place.longitude);
    map.centre = std::int16_t(fromZero <= 90.0 ? 0 : 180);
    return map;
}

}  // namespace rubicel
