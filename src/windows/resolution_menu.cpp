// SPDX-License-Identifier: MIT
// resolution_menu.cpp: the Resolution menu's handlers and the redraw rule.
#include "windows/resolution_menu.h"

#include "maps/area_renderer.h"
#include "maps/map_view.h"
#include "maps/polar_renderer.h"
#include "maps/resolution.h"
#include "maps/tile_renderer.h"
#include "windows/program.h"

namespace rubicel {

void m_siz_Click(Program& p, std::int16_t index) {
    if (index < 0 || index >= std::int16_t(kResolutionSteps.size())) return;
    p.map.resolution = kResolutionSteps[std::size_t(index)];
    clearMapPicture(p);
    checkResolutionItem(p, index);
    redrawCurrentMap(p);
}

void m_size_Click(Program& p) {
    auto enable = [&p](int item, bool enabled) { p.ui.setMenuEnabled(MenuId{MenuControl::m_siz, item}, enabled); };
    switch (p.map.areaclass) {
    case kEntirePlanet:
        for (int item = 5; item <= 7; ++item) enable(item, false);
        break;
    case kSingleTile:
        enable(5, true);
        enable(6, false);
        enable(7, false);
        break;
    default:
        for (int item = 0; item < int(kResolutionSteps.size()); ++item) enable(item, true);
        break;
    }
}

void redrawCurrentMap(Program& p) {
    const MapState& m = p.map;
    if (m.mapsource == kFromTile) {
        Drawtile(p);
    } else if (m.mapsource == kFromArea) {
        const auto area = m.maparea;
        mapfromtile(p, area[0], area[1], area[2], area[3]);
    } else if (m.mapsource == kFromPolar) {
        Drawpolar(p);
    }
}

}  // namespace rubicel
