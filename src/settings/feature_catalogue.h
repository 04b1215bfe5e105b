// SPDX-License-Identifier: MIT
// feature_catalogue.h: the 72 named features of the Map Area menu and their handlers.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace rubicel {

struct Program;

struct Feature {
    std::string_view caption;
    std::int16_t west, north, east, south;
};

// One submenu of Map Area: its caption, its menu control, its item array and entries.
struct FeatureSubmenu {
    std::string_view caption;   // "Planitiae (plains)"
    std::string_view control;   // "m_plan"
    std::string_view items;     // "m_p"
    std::span<const Feature> features;
};

// The five submenus in menu order.
std::span<const FeatureSubmenu> featureSubmenus();
// The feature with this caption, or null.
const Feature* findFeature(std::string_view caption);

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
