// SPDX-License-Identifier: MIT
// tile_renderer.h: Drawtile, the map of one whole tile file.
#pragma once

namespace rubicel {

struct MapContext;

// Draws the whole tile p.map.tilefile at the current step.
void Drawtile(MapContext& p);

}  // namespace rubicel
