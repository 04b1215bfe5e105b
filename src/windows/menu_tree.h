// SPDX-License-Identifier: MIT
// menu_tree.h: the main window's whole menu tree as one table: names, captions and handlers.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/menu_ids.h"

namespace rubicel {

struct Program;

enum class MenuKind : std::uint8_t {
    Menu,       // opens the rows below it with depth + 1
    Item,       // a command
    Separator,  // a line; its caption is "-"
    Status,     // the caption-only item at the end of the menu bar
};

// One menu control. Rows are in display order; a row's children follow it with
// depth + 1. Array members carry their index, other controls -1.
struct MenuNode {
    int depth = 0;  // 0: on the menu bar
    MenuKind kind = MenuKind::Item;
    MenuControl control = MenuControl::m_file;
    int index = -1;
    std::string_view caption;
    // Runs when a menu opens (its "Click" event).
    void (*open)(Program&) = nullptr;
    // Runs when an item is chosen: click for single controls, indexedClick for
    // members of an array. Null for commands whose window is built elsewhere.
    void (*click)(Program&) = nullptr;
    void (*indexedClick)(Program&, std::int16_t) = nullptr;
};

// The whole tree, the Map Area submenus filled from the feature catalogue.
std::span<const MenuNode> menuTree();

}  // namespace rubicel
