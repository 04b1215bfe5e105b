// SPDX-License-Identifier: MIT
// place_map.h: the map that shows a named place in a map area of a given size.
#pragma once

#include <array>
#include <cstdint>

#include "windows/explore.h"

namespace rubicel {

struct Place;

// How a place is drawn: as a custom area at a step, as the polar map of a
// pole, or as the entire planet.
struct PlaceMap {
    enum class Kind { Area, Polar, Planet };
    Kind kind = Kind::Area;
    AreaBox4 box{};             // Area: west, north, east, south in whole degrees, as the custom area passes them
    std::int16_t step = 1;      // Area and Polar: the Resolution step
    std::int16_t pole = 1;      // Polar: 1 north, -1 south
    std::int16_t limit = 60;    // Polar: the limit latitude, 1 to 89
    std::int16_t centre = 0;    // Planet: centred on 0 or 180

    friend bool operator==(const PlaceMap&, const PlaceMap&) = default;
};

// The steps an area map of a place is tried at, finest first.
inline constexpr std::array<std::int16_t, 9> kPlaceAreaSteps = {1, 2, 3, 4, 8, 10, 13, 20, 24};

// The map of place for a map area of width by height pixels:
// - a place whose extent reaches within 1° of a pole, or spans more than 180°
//   of longitude, is the polar map of that pole (of the nearer one when it
//   spans the longitudes), down to the whole degree at least 3° beyond the
//   extent's edge nearest the equator, at the finest step whose picture fits
//   the map area (automaticPolarStep);
// - else an area map: the box of the map area's size at a step, centred on the
//   place's centre, sized, moved off the poles and across 180° as wheel zoom
//   does (zoomBox), at the finest step of kPlaceAreaSteps at which the extent
//   lies within the middle two thirds of the box both ways;
// - when it fits at no step, the entire planet, centred on 0 or on 180,
//   whichever has the place's centre nearer the middle.
PlaceMap placeMap(const Place& place, int width, int height);

}  // namespace rubicel
