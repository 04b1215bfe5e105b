// SPDX-License-Identifier: MIT
// feature_catalogue.cpp: the Map Area menu's handlers: opening it, choosing a feature, clearing ticks.
#include "windows/feature_catalogue.h"

#include <cassert>

#include "maps/area_renderer.h"
#include "maps/map_view.h"
#include "maps/resolution.h"
#include "windows/explore.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// Submenus by their place in the Map Area menu.
enum Submenu { kPlains, kCrateredTerrain, kCraters, kMountains, kChannels };

// Draws the feature at index of a submenu and then ticks it alone. The tick comes
// after the drawing has ended, whether it finished or was stopped.
void chooseFeature(Program& p, Submenu which, std::int16_t index) {
    const FeatureSubmenu& submenu = featureSubmenus()[which];
    if (index < 0 || std::size_t(index) >= submenu.features.size()) {
        assert(!"feature index outside its submenu");
        return;
    }
    const Feature& f = submenu.features[std::size_t(index)];
    noteAreaRequest(p, {f.west, f.north, f.east, f.south}, MenuId{submenu.items, index});
    mapfromtile(p, f.west, f.north, f.east, f.south);
    untickfeatures(p);
    p.ui.setMenuChecked(MenuId{submenu.items, index}, true);
}

void untickAll(Program& p, MenuControl items, int count) {
    for (int i = 0; i < count; ++i) p.ui.setMenuChecked(MenuId{items, i}, false);
}

}  // namespace

void m_area_Click(Program& p) {
    // The next area map picks its own step; every Resolution item is allowed.
    p.map.mapsource = kFromArea;
    p.map.resolution = 4;
    p.map.stopflag = 0;
    p.map.autoresolution = 1;
    p.map.areaclass = kAreaMap;
    checkResolutionItem(p, 4);  // "25%"
    // Opening the menu alone already clears the map shown.
    clearMapPicture(p);
    moveMapPicture(p, 0, 0);
}

void m_p_Click(Program& p, std::int16_t index) { chooseFeature(p, kPlains, index); }
void m_ct_Click(Program& p, std::int16_t index) { chooseFeature(p, kCrateredTerrain, index); }
void m_c_Click(Program& p, std::int16_t index) { chooseFeature(p, kCraters, index); }
void m_m_Click(Program& p, std::int16_t index) { chooseFeature(p, kMountains, index); }
void m_v_Click(Program& p, std::int16_t index) { chooseFeature(p, kChannels, index); }

void untickfeatures(Program& p) {
    const auto submenus = featureSubmenus();
    untickAll(p, submenus[kPlains].items, int(submenus[kPlains].features.size()));
    untickAll(p, submenus[kMountains].items, int(submenus[kMountains].features.size()));
    untickAll(p, submenus[kCraters].items, int(submenus[kCraters].features.size()));
    untickAll(p, submenus[kChannels].items, int(submenus[kChannels].features.size()));
    // The four tiles and the separator below them; the two "Entire Planet" items
    // never carry a tick.
    untickAll(p, MenuControl::m_tile, 5);
    untickAll(p, submenus[kCrateredTerrain].items, int(submenus[kCrateredTerrain].features.size()));
}

}  // namespace rubicel
