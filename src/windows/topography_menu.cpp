// SPDX-License-Identifier: MIT
// topography_menu.cpp: choosing the colour scheme and the shading mode.
#include "windows/topography_menu.h"

#include "windows/key_windows.h"
#include "windows/program.h"
#include "windows/resolution_menu.h"

namespace rubicel {
namespace {

constexpr int kSchemeItems = 10;
constexpr int kSchemeSeparator = 6;
constexpr int kModeItems = 4;
constexpr std::int16_t kRightButton = 2;

}  // namespace

void m_topo_Click(Program& p) { p.map.stopflag = 0; }

void m_setcol_Click(Program& p, std::int16_t index) {
    p.colour.scheme = index;
    repaintKeys(p);
    tickcontourlist(p);
}

void m_mode_Click(Program& p, std::int16_t index) {
    p.colour.mode = index;
    tickcontourlist(p);
}

void tickcontourlist(Program& p) {
    for (int i = 0; i < kSchemeItems; ++i) p.ui.setMenuChecked(MenuId{MenuControl::m_setcol, i}, false);
    // A scheme or mode with no menu item (from a configuration file edited by
    // hand) leaves every item of its group unmarked.
    const std::int16_t scheme = p.colour.scheme;
    if (scheme >= 0 && scheme < kSchemeItems && scheme != kSchemeSeparator)
        p.ui.setMenuChecked(MenuId{MenuControl::m_setcol, scheme}, true);
    for (int i = 0; i < kModeItems; ++i) p.ui.setMenuChecked(MenuId{MenuControl::m_mode, i}, false);
    if (p.colour.mode >= 0 && p.colour.mode < kModeItems)
        p.ui.setMenuChecked(MenuId{MenuControl::m_mode, p.colour.mode}, true);
    redrawCurrentMap(p);
}

void dmap_MouseDown(Program& p, std::int16_t button, std::int16_t, float, float) {
    if (button == kRightButton) p.ui.popupMenu(MenuId{MenuControl::m_topo});
}

}  // namespace rubicel
