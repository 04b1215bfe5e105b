// SPDX-License-Identifier: MIT
// main_window_test.cpp: start-up, the File menu's map items, stopping and leaving.
#include "windows/main_window.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "colour/colour_engine.h"
#include "keys/colour_keys.h"
#include "platform/headless/headless_platform.h"
#include "support/sparse_tiles.h"
#include "support/start_folder.h"
#include "windows/config_file.h"
#include "windows/key_windows.h"
#include "windows/program.h"
#include "windows/resolution_menu.h"

namespace rubicel {
namespace {

using test::StartFolder;

struct StartCase {
    const char* name;
    bool configuration;
    int tiles;
    int scheme, mode;
    bool mapArea;
    bool settingsKept;  // scheme and mode have menu items and are used as read
    int messages;
};

class StartUp : public testing::TestWithParam<StartCase> {};

TEST_P(StartUp, SetsCaptionFoldersMenusAndBands) {
    const StartCase& c = GetParam();
    StartFolder start;
    if (c.configuration) start.prepare(c.tiles, c.scheme, c.mode);
    HeadlessPlatform ui;
    Program p(ui);
    p.map.resolution = 7;

    init(p);

    EXPECT_EQ(ui.windowCaption, "Rubicel v 1.12  -  March 6, 2007");
    EXPECT_EQ(p.map.versiontext, "v 1.12  -  March 6, 2007");
    EXPECT_EQ(std::filesystem::path(p.map.startfolder), std::filesystem::current_path());
    EXPECT_EQ(p.map.resolution, 1);
    EXPECT_EQ(ui.enabled(MenuControl::m_area), c.mapArea);
    for (MenuControl menu : {MenuControl::m_topo, MenuControl::m_size, MenuControl::m_define}) EXPECT_FALSE(ui.enabled(menu)) << menuControlName(menu);
    if (c.settingsKept) {
        EXPECT_EQ(p.colour.scheme, c.scheme);
        EXPECT_EQ(p.colour.mode, c.mode);
    }
    // The marks show the scheme and mode in force, and never sit on the separator.
    const bool schemeItem = p.colour.scheme >= 0 && p.colour.scheme <= 9 && p.colour.scheme != 6;
    const bool modeItem = p.colour.mode >= 0 && p.colour.mode <= 3;
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_setcol), schemeItem ? std::vector<int>{p.colour.scheme} : std::vector<int>{});
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_mode), modeItem ? std::vector<int>{p.colour.mode} : std::vector<int>{});
    EXPECT_EQ(int(ui.messages.size()), c.messages);
    ColourState defaults;
    initbands(defaults);
    EXPECT_EQ(p.colour.bandlo, defaults.bandlo);
    EXPECT_EQ(p.colour.bandhi, defaults.bandhi);
    EXPECT_TRUE(p.dmap.image.empty()) << "no map is drawn at start";
    // The range dialog exists, hidden, with its start values.
    EXPECT_TRUE(p.uchoice.loaded);
    EXPECT_EQ(p.uchoice.TopLimit, (ScrollBarState{-7700, 21250, 21250}));
    EXPECT_EQ(p.uchoice.BottomLimit, (ScrollBarState{-8200, 18000, -8200}));
    EXPECT_EQ(p.uchoice.altitude, (std::array<std::string, 2>{"21250", "-8200"}));
    EXPECT_FALSE(ui.tools[ToolWindow::Uchoice].shown);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, StartUp,
    testing::Values(StartCase{"four_tiles", true, 4, 3, 2, true, true, 0},
                    StartCase{"no_configuration", false, 0, 0, 0, false, true, 1},
                    StartCase{"three_tiles", true, 3, 5, 1, false, true, 1},
                    StartCase{"separator_scheme_from_a_hand_edited_file", true, 4, 6, 3, true, false, 0},
                    StartCase{"numbers_beyond_the_menus", true, 4, 12, -1, true, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A started program over four sparse tiles.
class MainWindowTest : public testing::Test {
protected:
    MainWindowTest() {
        start.prepare();
        init(p);
    }
    // Rows of the picture that hold anything but the background.
    int drawnRows() const {
        int rows = 0;
        for (int y = 0; y < p.dmap.image.height(); ++y)
            if (p.dmap.image.pixel(0, y) != kPictureBackground) ++rows;
        return rows;
    }

    StartFolder start;
    HeadlessPlatform ui;
    Program p{ui};
};

struct PlanetCase {
    const char* name;
    std::int16_t item;
    std::array<std::int16_t, 4> area;
};

class EntirePlanet : public MainWindowTest, public testing::WithParamInterface<PlanetCase> {};

TEST_P(EntirePlanet, FirstAtStepTwentyFourThenAtTheAutomaticStep) {
    const PlanetCase& c = GetParam();
    m_tile_Click(p, c.item);
    EXPECT_EQ(p.dmap.image.width(), 960);
    EXPECT_EQ(p.dmap.image.height(), 480);
    EXPECT_EQ(p.map.resolution, 24);
    EXPECT_EQ(p.map.maparea, c.area);
    EXPECT_EQ(p.map.areaclass, kEntirePlanet);
    EXPECT_EQ(p.map.mapsource, kFromArea);
    EXPECT_EQ(p.map.autoresolution, 1);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{0});
    EXPECT_TRUE(ui.checkedIndexes(MenuControl::m_tile).empty()) << "the planet items carry no mark";
    for (MenuControl menu : {MenuControl::m_topo, MenuControl::m_size, MenuControl::m_define}) EXPECT_TRUE(ui.enabled(menu)) << menuControlName(menu);

    m_tile_Click(p, c.item);
    EXPECT_EQ(p.dmap.image.width(), 1152);
    EXPECT_EQ(p.dmap.image.height(), 576);
    EXPECT_EQ(p.map.resolution, 20);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{0});
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

INSTANTIATE_TEST_SUITE_P(MainWindow, EntirePlanet,
                         testing::Values(PlanetCase{"centred_on_000", 5, {-180, 90, 180, -90}},
                                         PlanetCase{"centred_on_180", 6, {0, 90, 360, -90}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TileCase {
    const char* name;
    std::int16_t item;
    std::size_t entry;  // of the name-sorted tile list
};

class TileItem : public MainWindowTest, public testing::WithParamInterface<TileCase> {};

TEST_P(TileItem, DrawsItsTileAtSevenAndAHalfPercent) {
    const TileCase& c = GetParam();
    p.map.stopflag = 1;
    ui.setMenuChecked({MenuControl::m_p, 3}, true);
    ui.setMenuChecked({MenuControl::m_tile, 2}, true);

    m_tile_Click(p, c.item);

    EXPECT_EQ(p.map.tilefile, p.map.datafolder + test::kTileNames[c.entry]);
    EXPECT_EQ(p.map.stopflag, 0);
    EXPECT_EQ(p.map.resolution, 13);
    EXPECT_EQ(p.map.areaclass, kSingleTile);
    EXPECT_EQ(p.map.mapsource, kFromTile);
    EXPECT_EQ(p.dmap.image.width(), 886);
    EXPECT_EQ(p.dmap.image.height(), 443);
    EXPECT_EQ(drawnRows(), 443);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_tile), std::vector<int>{c.item});
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{1});
    EXPECT_FALSE(ui.checked(MenuControl::m_p, 3));
    for (MenuControl menu : {MenuControl::m_topo, MenuControl::m_size, MenuControl::m_define}) EXPECT_TRUE(ui.enabled(menu)) << menuControlName(menu);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

INSTANTIATE_TEST_SUITE_P(MainWindow, TileItem,
                         testing::Values(TileCase{"northwest", 0, 3}, TileCase{"northeast", 1, 2},
                                         TileCase{"southwest", 2, 1}, TileCase{"southeast", 3, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, TileItemWithoutItsTileReportsTheDrawingFailure) {
    p.File1.resize(2);
    m_tile_Click(p, 0);
    EXPECT_EQ(p.map.tilefile, p.map.datafolder);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("Module 'Drawtile' - ", 0), 0u) << ui.messages[0].text;
}

struct StopCase {
    const char* name;
    std::int16_t item;
    std::int16_t stopflagAfter;
};

class TerminateDuringDrawing : public MainWindowTest, public testing::WithParamInterface<StopCase> {};

TEST_P(TerminateDuringDrawing, EndsTheDrawingAtTheNextRow) {
    const StopCase& c = GetParam();
    ui.onYield = [this](int n) {
        if (n == 1) m_terminate_Click(p);
    };
    m_tile_Click(p, c.item);
    EXPECT_EQ(drawnRows(), 1);
    EXPECT_EQ(ui.yields, 1);
    EXPECT_EQ(p.map.stopflag, c.stopflagAfter);
    EXPECT_FALSE(p.files[0].isOpen());
    EXPECT_FALSE(p.files[1].isOpen());
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

INSTANTIATE_TEST_SUITE_P(MainWindow, TerminateDuringDrawing,
                         testing::Values(StopCase{"whole_tile_keeps_the_request", 0, 1},
                                         StopCase{"entire_planet_clears_it", 5, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct WaitingStopCase {
    const char* name;
    void (*next)(Program&);
    int rows;
    std::int16_t stopflagAfter;
};

class TerminateWithNothingRunning : public MainWindowTest, public testing::WithParamInterface<WaitingStopCase> {};

TEST_P(TerminateWithNothingRunning, TheRequestWaitsForTheNextDrawing) {
    const WaitingStopCase& c = GetParam();
    m_tile_Click(p, 0);
    const int before = ui.yields;
    m_terminate_Click(p);
    EXPECT_EQ(p.map.stopflag, 1);

    c.next(p);
    EXPECT_EQ(ui.yields - before, c.rows);
    EXPECT_EQ(p.map.stopflag, c.stopflagAfter);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, TerminateWithNothingRunning,
    testing::Values(WaitingStopCase{"whole_tile_from_the_resolution_menu", [](Program& p) { m_siz_Click(p, 0); }, 0, 1},
                    WaitingStopCase{"area_map",
                                    [](Program& p) {
                                        p.map.mapsource = kFromArea;
                                        p.map.maparea = {-7, 0, -3, -4};
                                        m_siz_Click(p, 0);
                                    },
                                    0, 0},
                    WaitingStopCase{"tile_item_clears_it", [](Program& p) { m_tile_Click(p, 1); }, 443, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct LeaveCase {
    const char* name;
    void (*leave)(Program&);
    bool closesKeys;
    const char* message;  // the one message shown, if any
};

class LeavingDuringDrawing : public MainWindowTest, public testing::WithParamInterface<LeaveCase> {};

TEST_P(LeavingDuringDrawing, EndsTheDrawingClosesTheTilesAndSaves) {
    p.colour.scheme = 7;
    p.colour.mode = 3;
    std::filesystem::remove(start.configPath());
    ui.onYield = [this](int n) {
        if (n == 2) GetParam().leave(p);
    };
    m_key_Click(p, 0);
    m_tile_Click(p, 5);
    // Closing the window closes the key too; Exit leaves that to the process's end.
    EXPECT_EQ(p.Key.loaded, !GetParam().closesKeys);

    EXPECT_TRUE(ui.quitRequested);
    EXPECT_TRUE(p.exiting);
    EXPECT_EQ(ui.yields, 2) << "no row is drawn after the request";
    EXPECT_FALSE(p.files[0].isOpen());
    EXPECT_FALSE(p.files[1].isOpen());
    EXPECT_EQ(start.configuration(), p.map.datafolder + "\r\n 7 \r\n 3 \r\n");
    std::vector<std::string> messages;
    for (const auto& m : ui.messages) messages.push_back(m.text);
    EXPECT_EQ(messages, GetParam().message ? std::vector<std::string>{GetParam().message} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(MainWindow, LeavingDuringDrawing,
                         testing::Values(LeaveCase{"exit", m_end_Click, false, nullptr},
                                         LeaveCase{"closing_the_window", Form_Unload, true, nullptr},
                                         LeaveCase{"close_in_the_folder_panel", setfolder_Click, false,
                                                   "You must now restart the program"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, OpeningTheLoadMenuPutsThePictureBackKeepingTheBars) {
    m_tile_Click(p, 5);
    ui.setScrollValue(Control::Hscrbar, 30);
    ui.setScrollValue(Control::Vscrbar, 20);
    p.dmap.left = -300;
    p.dmap.top = -200;

    m_load_Click(p);

    EXPECT_EQ(p.dmap.left, 0);
    EXPECT_EQ(p.dmap.top, 0);
    EXPECT_EQ(ui.controlRect(Control::Dmap).left, 0);
    EXPECT_EQ(ui.controlRect(Control::Dmap).top, 0);
    EXPECT_EQ(ui.scrollValue(Control::Hscrbar), 30);
    EXPECT_EQ(ui.scrollValue(Control::Vscrbar), 20);
}

}  // namespace
}  // namespace rubicel
