// SPDX-License-Identifier: MIT
// tile_renderer.h: Drawtile, the map of one whole tile file.
#pragma once

namespace rubicel {

struct Program;

// Draws the whole tile p.map.tilefile at the current step.
void Drawtile(Program& p);

}  // namespace rubicel
