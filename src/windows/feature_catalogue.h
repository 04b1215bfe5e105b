// SPDX-License-Identifier: MIT
// feature_catalogue.h: the handlers of the Map Area menu and its 72 named features.
#pragma once

#include <cstdint>

#include "settings/feature_table.h"

namespace rubicel {

struct Program;

// The Map Area menu is opening.
void m_area_Click(Program& p);
// A catalogue item was chosen; one handler per submenu.
void m_p_Click(Program& p, std::int16_t index);
void m_ct_Click(Program& p, std::int16_t index);
void m_c_Click(Program& p, std::int16_t index);
void m_m_Click(Program& p, std::int16_t index);
void m_v_Click(Program& p, std::int16_t index);
// Clears the check marks of every feature item and of tile items 0 to 4.
void untickfeatures(Program& p);

}  // namespace rubicel
