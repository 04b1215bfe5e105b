// SPDX-License-Identifier: MIT
// menu_tree.cpp: the menu table of the main window and its expansion.
#include "windows/menu_tree.h"

#include <array>
#include <vector>

#include "keys/colour_keys.h"
#include "windows/config_file.h"
#include "windows/custom_area.h"
#include "windows/feature_catalogue.h"
#include "windows/help_menu.h"
#include "windows/key_windows.h"
#include "windows/main_window.h"
#include "windows/range_dialog.h"
#include "windows/relief_file.h"
#include "windows/resolution_menu.h"
#include "windows/save_panel.h"
#include "windows/topography_menu.h"

namespace rubicel {
namespace {

constexpr MenuKind M = MenuKind::Menu;
constexpr MenuKind I = MenuKind::Item;
constexpr MenuKind S = MenuKind::Separator;

// A row standing for the items of the feature submenu it follows.
struct Row {
    MenuNode node;
    bool catalogueItems = false;
};

constexpr Row menu(int depth, MenuControl control, std::string_view caption, void (*open)(Program&) = nullptr) {
    return {{depth, M, control, -1, caption, open, nullptr, nullptr}};
}
constexpr Row menuAt(int depth, MenuControl control, int index, std::string_view caption) {
    return {{depth, M, control, index, caption, nullptr, nullptr, nullptr}};
}
constexpr Row item(int depth, MenuControl control, std::string_view caption, void (*click)(Program&) = nullptr) {
    return {{depth, I, control, -1, caption, nullptr, click, nullptr}};
}
constexpr Row itemAt(int depth, MenuControl control, int index, std::string_view caption,
                     void (*click)(Program&, std::int16_t) = nullptr) {
    return {{depth, I, control, index, caption, nullptr, nullptr, click}};
}
constexpr Row line(int depth, MenuControl control, int index = -1) {
    return {{depth, S, control, index, "-", nullptr, nullptr, nullptr}};
}
constexpr Row features(MenuControl items, void (*click)(Program&, std::int16_t)) {
    return {{2, I, items, -1, "", nullptr, nullptr, click}, true};
}

using enum MenuControl;

constexpr std::array kRows = {
    menu(0, m_file, "&File    "),
    menu(1, m_load, "Load a MOLA DEM", m_load_Click),
    itemAt(2, m_tile, 0, "Northwest", m_tile_Click),
    itemAt(2, m_tile, 1, "Northeast", m_tile_Click),
    itemAt(2, m_tile, 2, "Southwest", m_tile_Click),
    itemAt(2, m_tile, 3, "Southeast", m_tile_Click),
    line(2, m_tile, 4),
    itemAt(2, m_tile, 5, "Entire Planet - centred on 000°", m_tile_Click),
    itemAt(2, m_tile, 6, "Entire Planet - centred on 180°", m_tile_Click),
    line(2, m_tile, 7),
    itemAt(2, m_tile, 8, "North Polar Region", m_tile_Click),
    itemAt(2, m_tile, 9, "South Polar Region", m_tile_Click),
    item(1, m_savemap, "Save Map    ", m_savemap_Click),
    line(1, bar3),
    item(1, m_terminate, "Terminate Drawing Mode", m_terminate_Click),
    line(1, bar4),
    item(1, m_default, "Set MEGDR064 DEM File Folder", m_default_Click),
    line(1, bar),
    item(1, m_end, "E&xit", m_end_Click),

    menu(0, m_area, "Map Area    ", m_area_Click),
    // The window is the desktop's; the key is what follows the three spaces.
    item(1, m_find, "Find Place...   Ctrl+F"),
    line(1, fbar),
    menu(1, m_plan, "Planitiae (plains)"),
    features(m_p, m_p_Click),
    menu(1, m_cter, "Cratered Terrain"),
    features(m_ct, m_ct_Click),
    menu(1, m_craters, "Craters"),
    features(m_c, m_c_Click),
    menu(1, m_europe, "Mountains and Hills"),
    features(m_m, m_m_Click),
    menu(1, m_val, "Channels and Valleys"),
    features(m_v, m_v_Click),
    line(1, mbar),
    item(1, m_custom, "Custom Area", m_custom_Click),

    menu(0, m_size, "Resolution    ", m_size_Click),
    itemAt(1, m_siz, 0, "Thumbnail (5%)", m_siz_Click),
    itemAt(1, m_siz, 1, "7.5%", m_siz_Click),
    itemAt(1, m_siz, 2, "10%", m_siz_Click),
    itemAt(1, m_siz, 3, "12.5%", m_siz_Click),
    itemAt(1, m_siz, 4, "25%", m_siz_Click),
    itemAt(1, m_siz, 5, "33%", m_siz_Click),
    itemAt(1, m_siz, 6, "50%", m_siz_Click),
    itemAt(1, m_siz, 7, "100%", m_siz_Click),

    menu(0, m_topo, "Topography    ", m_topo_Click),
    menuAt(1, m_scheme, 0, "Scheme"),
    itemAt(2, m_setcol, 0, "Brown Relief", m_setcol_Click),
    itemAt(2, m_setcol, 1, "Blue/Green/Brown (pale)", m_setcol_Click),
    itemAt(2, m_setcol, 2, "Blue/Green/Brown (darker)", m_setcol_Click),
    itemAt(2, m_setcol, 3, "Blue/Green/Brown (histogram)", m_setcol_Click),
    itemAt(2, m_setcol, 4, "Putative Northern Ocean (datum-3000 m)", m_setcol_Click),
    itemAt(2, m_setcol, 5, "MOLA multicolour", m_setcol_Click),
    line(2, m_setcol, 6),
    itemAt(2, m_setcol, 7, "Enhanced -3000 to +3000 metre detail", m_setcol_Click),
    itemAt(2, m_setcol, 8, "Enhanced -6000 to 0 metres (below datum)", m_setcol_Click),
    itemAt(2, m_setcol, 9, "Enhanced 0 to 6000 metres (above datum)", m_setcol_Click),
    menuAt(1, m_scheme, 1, "Mode"),
    itemAt(2, m_mode, 0, "Contoured shading", m_mode_Click),
    itemAt(2, m_mode, 1, "Blended shading", m_mode_Click),
    itemAt(2, m_mode, 2, "Square root enhanced", m_mode_Click),
    itemAt(2, m_mode, 3, "Squared enhanced", m_mode_Click),
    item(1, m_define, "Define Range    ", m_define_Click),
    line(1, rbar),
    item(1, m_relief, "Relief Shading", m_relief_Click),
    item(1, m_reliefset, "Relief Settings...", m_reliefset_Click),

    menu(0, m_kk, "Show Colour Key      "),
    itemAt(1, m_key, 0, "Vertical     ", m_key_Click),
    itemAt(1, m_key, 1, "Horizontal", m_key_Click),

    menu(0, m_help, "Help      "),
    itemAt(1, m_h, 0, "About", m_h_Click),
    itemAt(1, m_h, 1, "Program Help", m_h_Click),
    line(1, m_h, 2),
    itemAt(1, m_h, 3, "Annotated Map of Mars", m_h_Click),
    line(1, m_h, 4),
    itemAt(1, m_h, 5, "Sourcing the MEG064 MOLA DEMs", m_h_Click),

    Row{{0, MenuKind::Status, prcent, -1, "", nullptr, nullptr, nullptr}},
};

// The catalogue submenu whose control is menu, or null.
const FeatureSubmenu* submenuOf(MenuControl menu) {
    for (const FeatureSubmenu& submenu : featureSubmenus())
        if (submenu.control == menu) return &submenu;
    return nullptr;
}

std::vector<MenuNode> expand() {
    std::vector<MenuNode> nodes;
    MenuControl parent = MenuControl::m_file;
    for (const Row& row : kRows) {
        if (!row.catalogueItems) {
            nodes.push_back(row.node);
            if (row.node.kind == MenuKind::Menu) parent = row.node.control;
            continue;
        }
        const FeatureSubmenu* submenu = submenuOf(parent);
        if (!submenu) continue;
        int index = 0;
        for (const Feature& feature : submenu->features) {
            MenuNode node = row.node;
            node.index = index++;
            node.caption = feature.caption;
            nodes.push_back(node);
        }
    }
    return nodes;
}

}  // namespace

std::span<const MenuNode> menuTree() {
    static const std::vector<MenuNode> nodes = expand();
    return nodes;
}

}  // namespace rubicel
