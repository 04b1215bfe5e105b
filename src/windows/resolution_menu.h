// SPDX-License-Identifier: MIT
// resolution_menu.h: the Resolution menu's handlers and the redraw rule.
#pragma once

#include <cstdint>

namespace rubicel {

struct Program;

// A Resolution item was chosen: set the step, clear the picture, move the check
// mark, redraw the current map.
void m_siz_Click(Program& p, std::int16_t index);
// The Resolution menu is opening: enable or disable its items for the kind of map.
void m_size_Click(Program& p);
// Redraws the current map: the whole tile for mapsource 0, maparea for 1, the
// polar region for 3.
void redrawCurrentMap(Program& p);

}  // namespace rubicel
