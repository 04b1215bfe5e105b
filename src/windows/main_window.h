// SPDX-License-Identifier: MIT
// main_window.h: start-up and the File menu's handlers of the main window.
#pragma once

#include <cstdint>

namespace rubicel {

struct Program;

// Start-up: version, caption, startfolder (the working folder), configuration,
// check marks, disabled map menus, default bands.
void init(Program& p);
// A Load a MOLA DEM item: 0 to 3 a whole tile, 5 and 6 the entire planet, 8 and
// 9 the north and the south polar region.
void m_tile_Click(Program& p, std::int16_t index);
void m_load_Click(Program& p);
void m_terminate_Click(Program& p);
void m_end_Click(Program& p);
void Form_Unload(Program& p);

}  // namespace rubicel
