// SPDX-License-Identifier: MIT
// polar_renderer.h: Drawpolar, the map of a polar region in polar stereographic projection.
#pragma once

#include <cstdint>

namespace rubicel {

struct MapContext;

// Draws the region from latitude p.map.polarlimit to the pole p.map.polarpole
// (1 north, -1 south) at the current step, from the hemisphere's two tiles.
void Drawpolar(MapContext& p);

// The step of the first polar map of the region to latitude limit in a client
// area of width x height pixels: the smallest step of the Resolution table whose
// picture (2n pixels square) fits within both; the largest step, 24, when none
// does.
std::int16_t automaticPolarStep(int limit, int width, int height);

}  // namespace rubicel
