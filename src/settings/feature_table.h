// SPDX-License-Identifier: MIT
// feature_table.h: the 72 named features of the Map Area menu: captions, boxes, submenus.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/menu_ids.h"

namespace rubicel {

struct Feature {
    std::string_view caption;
    std::int16_t west, north, east, south;
};

// One submenu of Map Area: its caption, its menu control, its item array and entries.
struct FeatureSubmenu {
    std::string_view caption;   // "Planitiae (plains)"
    MenuControl control;        // m_plan
    MenuControl items;          // m_p
    std::span<const Feature> features;
};

// The five submenus in menu order.
std::span<const FeatureSubmenu> featureSubmenus();
// The feature with this caption, or null.
const Feature* findFeature(std::string_view caption);

}  // namespace rubicel
