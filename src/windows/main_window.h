// SPDX-License-Identifier: MIT
// main_window.h: start-up and the File menu's handlers of the main window.
#pragma once

#include <cstdint>

namespace rubicel {

struct Program;

// Start-up: version, caption, startfolder (the working folder), configuration,
// check marks, disabled map menus, default bands.
void init(Program& p);
void m_tile_Click(Program& p, std::int16_t index);
void m_load_Click(Program& p);
void m_terminate_Click(Program& p);
void m_end_Click(Program& p);
void Form_Unload(Program& p);

}  // namespace rubicel
