// SPDX-License-Identifier: MIT
// view_menu.cpp: the View menu's layers painted over the map, and their own file beside the configuration file.
#include "windows/view_menu.h"

#include <array>

#include "common/file_start.h"
#include "settings/config_text.h"
#include "windows/program.h"
#include "windows/setting_lines.h"

namespace rubicel {
namespace {

// The file is four short lines; anything longer is not one of ours.
constexpr std::size_t kMaxViewBytes = 4096;
constexpr std::array<std::string_view, 4> kNames = {"graticule", "place-names", "landing-sites", "scale-bar"};

// The layer of item k, in the order of the menu and of kNames.
bool& layer(FurnitureLayers& layers, std::size_t k) {
    std::array<bool*, 4> all = {&layers.graticule, &layers.placeNames, &layers.landingSites, &layers.scaleBar};
    return *all[k];
}

void tickView(Program& p) {
    for (std::size_t k = 0; k < kNames.size(); ++k)
        p.ui.setMenuChecked(MenuId{MenuControl::m_vw, int(k)}, layer(p.view, k));
}

}  // namespace

std::string viewPath(const MapState& map) {
    const std::string& folder = map.startfolder;
    if (folder.empty()) return kViewFileName;
    return folder.back() == '/' ? folder + kViewFileName : folder + '/' + kViewFileName;
}

std::string viewText(const FurnitureLayers& layers) {
    FurnitureLayers l = layers;
    std::string text;
    for (std::size_t k = 0; k < kNames.size(); ++k)
        text += std::string(kNames[k]) + (layer(l, k) ? "=1\n" : "=0\n");
    return text;
}

std::optional<FurnitureLayers> parseViewText(std::string_view text) {
    FurnitureLayers layers;
    std::array<bool, 4> seen{};
    const bool read = readSettingLines(text, kNames, [&](std::size_t k, std::string_view value) {
        if (seen[k] || (value != "0" && value != "1")) return false;
        seen[k] = true;
        layer(layers, k) = value == "1";
        return true;
    });
    if (!read) return std::nullopt;
    for (bool s : seen)
        if (!s) return std::nullopt;
    return layers;
}

void loadView(Program& p) {
    const std::optional<std::string> text = readFileStart(viewPath(p.map), kMaxViewBytes);
    const bool ours = text && text->size() <= kMaxViewBytes;
    p.view = (ours ? parseViewText(*text) : std::nullopt).value_or(FurnitureLayers{});
    tickView(p);
}

bool saveView(const Program& p) { return !writeFileReplacing(viewPath(p.map), viewText(p.view)); }

void m_vw_Click(Program& p, std::int16_t index) {
    if (index < 0 || std::size_t(index) >= kNames.size()) return;
    bool& on = layer(p.view, std::size_t(index));
    on = !on;
    saveView(p);
    tickView(p);
}

}  // namespace rubicel
