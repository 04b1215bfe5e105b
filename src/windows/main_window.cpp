// SPDX-License-Identifier: MIT
// main_window.cpp: start-up and the File menu's handlers of the main window.
#include "windows/main_window.h"

#include <filesystem>
#include <system_error>

#include "colour/colour_engine.h"
#include "maps/area_renderer.h"
#include "maps/map_view.h"
#include "maps/polar_renderer.h"
#include "maps/resolution.h"
#include "windows/config_file.h"
#include "windows/explore.h"
#include "windows/feature_catalogue.h"
#include "windows/key_windows.h"
#include "windows/program.h"
#include "windows/range_dialog.h"
#include "windows/resolution_menu.h"
#include "windows/view_menu.h"

namespace rubicel {
namespace {

constexpr int kSchemeItems = 10;
constexpr int kSchemeSeparator = 6;
constexpr int kModeItems = 4;

// The working folder, or an empty text when it cannot be read.
std::string workingFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

// Tile item index to entry of the name-sorted tile list: Northwest is the
// last of the four, Southeast the first. Other items name no tile.
std::string tileName(const Program& p, std::int16_t index) {
    if (index < 0 || index > 3) return {};
    const std::size_t entry = std::size_t(3 - index);
    return entry < p.File1.size() ? p.File1[entry] : std::string();
}

// Draws the whole planet from west to east; the next planet map picks its own step.
void entirePlanet(Program& p, std::int16_t west, std::int16_t east) {
    p.map.areaclass = kEntirePlanet;
    p.map.mapsource = kFromArea;
    p.map.resolution = 24;
    const AreaBox4 box{west, 90, east, -90};
    noteMapRequest(p, MapEntry{MapEntry::Kind::Planet, box, nextAreaStep(p, box), {}, std::nullopt, {}});
    mapfromtile(p, west, 90, east, -90);
    p.map.autoresolution = 1;
}

// Draws the polar region of pole (1 north, -1 south) to 60°, at the step of
// automaticPolarStep for the window's client area; the Resolution items then
// redraw it at theirs.
void polarRegion(Program& p, std::int16_t pole) {
    constexpr std::int16_t kLimit = 60;
    MapState& m = p.map;
    m.areaclass = kPolarMap;
    m.mapsource = kFromPolar;
    m.polarpole = pole;
    m.polarlimit = kLimit;
    m.stopflag = 0;
    const TwipSize client = p.ui.clientSize();
    m.resolution = automaticPolarStep(kLimit, client.width / kTwipsPerPixel, client.height / kTwipsPerPixel);
    for (std::size_t item = 0; item < kResolutionSteps.size(); ++item)
        if (kResolutionSteps[item] == m.resolution) checkResolutionItem(p, int(item));
    untickfeatures(p);
    mclear(p, 1);
    noteMapRequest(p, MapEntry{MapEntry::Kind::Polar, {pole, kLimit, 0, 0}, m.resolution, {}, std::nullopt, {}});
    Drawpolar(p);
}

}  // namespace

void init(Program& p) {
    p.map.versiontext = kVersionText;
    p.ui.setWindowCaption("Rubicel " + p.map.versiontext);
    p.map.startfolder = workingFolder();
    fload(p);
    loadRelief(p);
    loadView(p);
    p.map.resolution = 1;
    // A scheme or mode out of the menus' range (a file edited by hand) has no
    // item to carry the mark; the separator between the schemes carries none.
    const std::int16_t scheme = p.colour.scheme;
    if (scheme >= 0 && scheme < kSchemeItems && scheme != kSchemeSeparator)
        p.ui.setMenuChecked(MenuId{MenuControl::m_setcol, scheme}, true);
    if (p.colour.mode >= 0 && p.colour.mode < kModeItems)
        p.ui.setMenuChecked(MenuId{MenuControl::m_mode, p.colour.mode}, true);
    mclear(p, 0);
    initbands(p.colour);
    presetRangeDialog(p);
}

void m_tile_Click(Program& p, std::int16_t index) {
    clearMapPicture(p);
    if (index == 8 || index == 9) return polarRegion(p, index == 8 ? 1 : -1);
    checkResolutionItem(p, 0);
    p.map.areaclass = kSingleTile;
    if (index == 5) return entirePlanet(p, -180, 180);
    if (index == 6) return entirePlanet(p, 0, 360);

    // One whole tile at step 13.
    const std::string name = tileName(p, index);
    p.map.stopflag = 0;
    p.map.mapsource = kFromTile;
    p.map.tilefile = p.map.datafolder + name;
    if (index >= 0 && index <= 3)
        noteMapRequest(p, MapEntry{MapEntry::Kind::Tile, {}, kResolutionSteps[1], p.map.tilefile,
                                   MenuId{MenuControl::m_tile, index}, {}});
    untickfeatures(p);
    mclear(p, 1);
    m_siz_Click(p, 1);
    p.ui.setMenuChecked(MenuId{MenuControl::m_tile, index}, true);
}

void m_load_Click(Program& p) { moveMapPicture(p, 0, 0); }

void m_terminate_Click(Program& p) { p.map.stopflag = 1; }

void m_end_Click(Program& p) {
    // A drawing in progress ends at its next row instead of reading closed files.
    p.exiting = true;
    p.map.stopflag = 1;
    p.closeFiles();
    (void)fsave(p);  // fsave reports its own failure
    p.ui.quit();
}

void Form_Unload(Program& p) {
    closeKeyWindows(p);
    m_end_Click(p);
}

}  // namespace rubicel
