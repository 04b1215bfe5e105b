// SPDX-License-Identifier: MIT
// topography_menu.h: choosing the colour scheme and the shading mode.
#pragma once

#include <cstdint>

namespace rubicel {

struct Program;

void m_topo_Click(Program& p);
void m_setcol_Click(Program& p, std::int16_t index);
void m_mode_Click(Program& p, std::int16_t index);
// Moves the Scheme and Mode check marks to scheme and mode, then redraws the map.
void tickcontourlist(Program& p);
// Button 2 (the right button) pops up the Topography menu.
void dmap_MouseDown(Program& p, std::int16_t button, std::int16_t shift, float x, float y);

}  // namespace rubicel
