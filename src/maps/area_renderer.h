// SPDX-License-Identifier: MIT
// area_renderer.h: mapfromtile, the map of a latitude/longitude box, and the map-menu switch.
#pragma once

#include <cstdint>

namespace rubicel {

struct MapContext;

// Draws the box a (west), b (north), c (east), d (south), whole degrees.
void mapfromtile(MapContext& p, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d);

// The boxes mapfromtile can draw. The north-west corner lies in a tile: west
// from kAreaWestMin to kAreaWestMax, north from kAreaNorthMin to kAreaNorthMax.
// The south edge lies below the north one, at kAreaSouthMin or above; the
// east edge east of the west one, up to furthestAreaEast. Any other box fails
// while it is drawn, or without width or height gives an empty picture.
inline constexpr std::int16_t kAreaWestMin = -180, kAreaWestMax = 179;
inline constexpr std::int16_t kAreaNorthMin = -89, kAreaNorthMax = 90;
inline constexpr std::int16_t kAreaSouthMin = -90;
// The furthest east edge of a box whose north-west corner (west, north) lies
// in a tile, drawn at step: as far as the corner's tile and its eastern
// neighbour hold the columns the step takes. At every step of the Resolution
// menu that is 180 for a corner west of longitude 0 and 360 for one east of it.
std::int16_t furthestAreaEast(std::int16_t west, std::int16_t north, int step);

// 0 disables the Topography, Resolution and Define Range menus, 1 enables them,
// any other value changes nothing.
void mclear(MapContext& p, std::int16_t flag);

}  // namespace rubicel
