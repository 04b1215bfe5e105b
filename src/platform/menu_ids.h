// SPDX-License-Identifier: MIT
// menu_ids.h: the main window's menu controls as an enumeration, with their names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rubicel {

// The menu controls by their established names, in menu order. A menu array
// (m_tile, m_siz, ...) is one control whose members carry an index.
enum class MenuControl : std::uint8_t {
    m_file, m_load, m_tile, m_savemap, bar3, m_terminate, bar4, m_default, bar, m_end,
    m_area, m_find, fbar, m_plan, m_p, m_cter, m_ct, m_craters, m_c, m_europe, m_m, m_val, m_v, mbar,
    m_custom,
    m_size, m_siz,
    m_topo, m_scheme, m_setcol, m_mode, m_define, rbar, m_relief, m_reliefset,
    m_kk, m_key,
    m_help, m_h,
    prcent,
};
inline constexpr std::size_t kMenuControlCount = std::size_t(MenuControl::prcent) + 1;

// The controls' names, in the order of MenuControl (the desktop window's object names).
inline constexpr std::array<std::string_view, kMenuControlCount> kMenuControlNames = {
    "m_file", "m_load", "m_tile", "m_savemap", "bar3", "m_terminate", "bar4", "m_default", "bar", "m_end",
    "m_area", "m_find", "fbar", "m_plan", "m_p", "m_cter", "m_ct", "m_craters", "m_c", "m_europe", "m_m", "m_val",
    "m_v", "mbar", "m_custom",
    "m_size", "m_siz",
    "m_topo", "m_scheme", "m_setcol", "m_mode", "m_define", "rbar", "m_relief", "m_reliefset",
    "m_kk", "m_key",
    "m_help", "m_h",
    "prcent",
};

constexpr std::string_view menuControlName(MenuControl control) { return kMenuControlNames[std::size_t(control)]; }

// A menu control and, for a member of a menu array, its index.
struct MenuId {
    MenuControl control;
    int index = -1;
    friend bool operator==(const MenuId&, const MenuId&) = default;
};

}  // namespace rubicel
