// SPDX-License-Identifier: MIT
// area_renderer.h: mapfromtile, the map of a latitude/longitude box, and the map-menu switch.
#pragma once

#include <cstdint>

namespace rubicel {

struct MapContext;

// Draws the box a (west), b (north), c (east), d (south), whole degrees.
void mapfromtile(MapContext& p, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d);

// 0 disables the Topography, Resolution and Define Range menus, 1 enables them,
// any other value changes nothing.
void mclear(MapContext& p, std::int16_t flag);

}  // namespace rubicel
