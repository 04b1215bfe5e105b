// SPDX-License-Identifier: MIT
// topography_menu_test.cpp: choosing a scheme or a mode, the check marks, the redraw and the pop-up.
#include "windows/topography_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "support/start_folder.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// A started program with a small area map (4 x 4 degrees at step 1) on screen.
class TopographyMenuTest : public testing::Test {
protected:
    TopographyMenuTest() {
        start.prepare();
        init(p);
        p.map.mapsource = kFromArea;
        p.map.areaclass = kAreaMap;
        p.map.resolution = 8;
        p.map.maparea = {-7, 0, -3, -4};
    }
    // Fills the picture with a colour no drawing makes, so that a redraw shows.
    void markPicture() {
        p.dmap.image.reset(4, 4, kMark);
        ui.yields = 0;
    }
    bool redrawn() const { return ui.yields > 0 && p.dmap.image.pixel(0, 0) != kMark; }

    static constexpr std::uint32_t kMark = packRgb(1, 2, 3);
    test::StartFolder start;
    HeadlessPlatform ui;
    Program p{ui};
};

struct SchemeCase {
    const char* name;
    std::int16_t before, chosen;
};

class SchemeItem : public TopographyMenuTest, public testing::WithParamInterface<SchemeCase> {};

TEST_P(SchemeItem, SetsTheSchemeMovesTheMarkAndRedraws) {
    const SchemeCase& c = GetParam();
    p.colour.scheme = c.before;
    p.colour.mode = 2;
    tickcontourlist(p);
    markPicture();

    m_setcol_Click(p, c.chosen);

    EXPECT_EQ(p.colour.scheme, c.chosen);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_setcol), std::vector<int>{c.chosen});
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_mode), std::vector<int>{2});
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{-7, 0, -3, -4}));
}

INSTANTIATE_TEST_SUITE_P(TopographyMenu, SchemeItem,
                         testing::Values(SchemeCase{"first", 3, 0}, SchemeCase{"before_the_separator", 0, 5},
                                         SchemeCase{"after_the_separator", 5, 7}, SchemeCase{"last", 1, 9},
                                         SchemeCase{"the_one_already_marked", 4, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ModeCase {
    const char* name;
    std::int16_t chosen;
};

class ModeItem : public TopographyMenuTest, public testing::WithParamInterface<ModeCase> {};

TEST_P(ModeItem, SetsTheModeMovesTheMarkAndRedraws) {
    const ModeCase& c = GetParam();
    p.colour.scheme = 8;
    markPicture();

    m_mode_Click(p, c.chosen);

    EXPECT_EQ(p.colour.mode, c.chosen);
    EXPECT_EQ(p.colour.scheme, 8);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_mode), std::vector<int>{c.chosen});
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_setcol), std::vector<int>{8});
    EXPECT_TRUE(redrawn());
}

INSTANTIATE_TEST_SUITE_P(TopographyMenu, ModeItem,
                         testing::Values(ModeCase{"contoured", 0}, ModeCase{"blended", 1},
                                         ModeCase{"square_root", 2}, ModeCase{"squared", 3}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnmarkableCase {
    const char* name;
    std::int16_t scheme, mode;
    std::vector<int> schemeMarks, modeMarks;
};

class UnmarkableSetting : public TopographyMenuTest, public testing::WithParamInterface<UnmarkableCase> {};

TEST_P(UnmarkableSetting, LeavesItsGroupUnmarkedAndStillRedraws) {
    const UnmarkableCase& c = GetParam();
    ui.setMenuChecked({MenuControl::m_setcol, 2}, true);
    ui.setMenuChecked({MenuControl::m_mode, 1}, true);
    p.colour.scheme = c.scheme;
    p.colour.mode = c.mode;
    markPicture();

    tickcontourlist(p);

    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_setcol), c.schemeMarks);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_mode), c.modeMarks);
    EXPECT_GT(ui.yields, 0);
}

INSTANTIATE_TEST_SUITE_P(
    TopographyMenu, UnmarkableSetting,
    testing::Values(UnmarkableCase{"separator_scheme", 6, 0, {}, {0}},
                    UnmarkableCase{"scheme_beyond_the_menu", 10, 3, {}, {3}},
                    UnmarkableCase{"negative_scheme", -1, 1, {}, {1}},
                    UnmarkableCase{"mode_beyond_the_menu", 0, 4, {0}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TopographyMenuTest, OpeningTheMenuWithdrawsAStopRequest) {
    m_terminate_Click(p);
    m_topo_Click(p);
    EXPECT_EQ(p.map.stopflag, 0);
    markPicture();
    m_mode_Click(p, 1);
    EXPECT_TRUE(redrawn()) << "the redraw from the menu is not cut short";
}

struct ButtonCase {
    const char* name;
    std::int16_t button, shift;
    std::vector<std::string> popups;
};

class MouseDown : public testing::TestWithParam<ButtonCase> {};

TEST_P(MouseDown, OnlyTheRightButtonPopsUpTheTopographyMenu) {
    const ButtonCase& c = GetParam();
    HeadlessPlatform ui;
    Program p(ui);
    dmap_MouseDown(p, c.button, c.shift, 10.0f, 20.0f);
    EXPECT_EQ(ui.popups, c.popups);
}

INSTANTIATE_TEST_SUITE_P(TopographyMenu, MouseDown,
                         testing::Values(ButtonCase{"left", 1, 0, {}}, ButtonCase{"right", 2, 0, {"m_topo"}},
                                         ButtonCase{"right_with_shift", 2, 1, {"m_topo"}},
                                         ButtonCase{"middle", 4, 0, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rubicel
