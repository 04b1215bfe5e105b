// SPDX-License-Identifier: MIT
// view_menu.h: the View menu's layers painted over the map, and their own file beside the configuration file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "furniture/furniture_layout.h"

namespace rubicel {

struct Program;
struct MapState;

inline constexpr const char* kViewFileName = "mgr064srubicel-view.cfg";

// startfolder + "/" + "mgr064srubicel-view.cfg".
std::string viewPath(const MapState& map);

// The file's text: one "name=0" or "name=1" line each for graticule,
// place-names, landing-sites and scale-bar.
std::string viewText(const FurnitureLayers& layers);
// Reads that text back; nothing when a line is missing, unknown, repeated or
// not 0 or 1.
std::optional<FurnitureLayers> parseViewText(std::string_view text);

// Start-up: the layers from the file, every one off, without a message, when
// it is missing or damaged; the items' check marks to match.
void loadView(Program& p);
// Writes the layers, safely (temporary file, then rename); a file that cannot
// be written is passed over without a message, as the layers are a preference.
bool saveView(const Program& p);

// A View item: 0 Graticule, 1 Place Names, 2 Landing Sites, 3 Scale Bar. Turns
// its layer on or off and remembers it; the window paints the layers over the
// map, never into the picture.
void m_vw_Click(Program& p, std::int16_t index);

}  // namespace rubicel
