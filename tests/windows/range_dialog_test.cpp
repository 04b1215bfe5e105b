// SPDX-License-Identifier: MIT
// range_dialog_test.cpp: the range dialog's bars and their invariant, its life, and userbands.
#include "windows/range_dialog.h"

#include <gtest/gtest.h>

#include "colour/colour_engine.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"
#include "windows/tool_windows.h"

namespace rubicel {
namespace {

using Event = HeadlessPlatform::ToolEvent;

class RangeDialogTest : public ::testing::Test {
protected:
    RangeDialogTest() : p(ui) {
        initbands(p.colour);
        p.map.mapsource = 2;  // no current map
        ui.onToolWindowShown = [this](ToolWindow w) { toolWindowActivated(p, w); };
    }
    HeadlessPlatform ui;
    Program p;
};

TEST_F(RangeDialogTest, DesignValuesThenStartValues) {
    const RangeDialog& d = loadUchoice(p);
    EXPECT_EQ(d.TopLimit, (ScrollBarState{500, 21250, 500}));
    EXPECT_EQ(d.BottomLimit, (ScrollBarState{0, 20000, 0}));
    EXPECT_EQ(d.altitude[0], "20000");
    EXPECT_EQ(d.altitude[1], "20000");

    presetRangeDialog(p);
    EXPECT_TRUE(p.uchoice.loaded);
    EXPECT_EQ(p.uchoice.TopLimit, (ScrollBarState{-7700, 21250, 21250}));
    EXPECT_EQ(p.uchoice.BottomLimit, (ScrollBarState{-8200, 18000, -8200}));
    EXPECT_EQ(p.uchoice.altitude[0], "21250");
    EXPECT_EQ(p.uchoice.altitude[1], "-8200");
    // Created, not shown.
    EXPECT_FALSE(ui.tools[ToolWindow::Uchoice].shown);
}

struct BarMove {
    const char* name;
    bool startValues;    // the ranges init sets, else the design ranges
    int top, bottom;     // values before the move
    bool movesTop;
    int to;
    int topAfter, bottomAfter;
    const char* caption0;
    const char* caption1;
};

class BarMoveTest : public RangeDialogTest, public ::testing::WithParamInterface<BarMove> {};

TEST_P(BarMoveTest, KeepsTheUpperMoreThan500AboveTheLower) {
    const BarMove& m = GetParam();
    if (m.startValues) presetRangeDialog(p); else loadUchoice(p);
    // Put the bars where the case starts; neither move breaks the invariant here.
    p.uchoice.TopLimit.value = std::int16_t(m.top);
    p.uchoice.BottomLimit.value = std::int16_t(m.bottom);
    if (m.movesTop)
        setTopLimitValue(p, m.to);
    else
        setBottomLimitValue(p, m.to);
    EXPECT_EQ(p.uchoice.TopLimit.value, m.topAfter);
    EXPECT_EQ(p.uchoice.BottomLimit.value, m.bottomAfter);
    if (m.movesTop)
        EXPECT_EQ(p.uchoice.altitude[0], m.caption0);
    else
        EXPECT_EQ(p.uchoice.altitude[1], m.caption1);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, BarMoveTest,
    ::testing::Values(
        BarMove{"top dragged to 0 over bottom 0", true, 21250, 0, true, 0, 550, 0, "550", ""},
        BarMove{"bottom dragged to 18000 under top 18000", true, 18000, -8200, false, 18000, 18000, 17450, "", "17450"},
        BarMove{"top to exactly 500 above", true, 21250, 1000, true, 1500, 1550, 1000, "1550", ""},
        BarMove{"top to 501 above", true, 21250, 1000, true, 1550, 1550, 1000, "1550", ""},
        BarMove{"bottom clear of top", true, 21250, -8200, false, 3000, 21250, 3000, "", "3000"},
        BarMove{"top to its minimum over the lowest bottom", true, 21250, -8200, true, -7700, -7650, -8200, "-7650", ""},
        BarMove{"top past its maximum", true, 1000, -8200, true, 30000, 21250, -8200, "21250", ""},
        BarMove{"design: top down to its minimum", false, 3000, 0, true, 0, 550, 0, "550", ""},
        // The design values break the invariant already; the lower bar cannot go
        // below its minimum, so it stops there.
        BarMove{"design: bottom up by one arrow", false, 500, 0, false, 50, 500, 0, "", "0"}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_F(RangeDialogTest, DefineRangeShowsTheDialogOnTopAndClosingDiscardsIt) {
    presetRangeDialog(p);
    setBottomLimitValue(p, 1000);
    m_define_Click(p);
    const std::vector<Event> expected = {{Event::Changed, ToolWindow::Uchoice},
                                         {Event::Show, ToolWindow::Uchoice, 8300, 8000},
                                         {Event::KeepOnTop, ToolWindow::Uchoice}};
    EXPECT_EQ(ui.toolEvents, expected);
    // Shown again: the values stay.
    m_define_Click(p);
    EXPECT_EQ(p.uchoice.altitude[1], "1000");

    toolWindowClosed(p, ToolWindow::Uchoice);
    EXPECT_FALSE(p.uchoice.loaded);
    EXPECT_FALSE(ui.tools[ToolWindow::Uchoice].shown);
    m_define_Click(p);
    EXPECT_EQ(p.uchoice.TopLimit, (ScrollBarState{500, 21250, 500}));
    EXPECT_EQ(p.uchoice.altitude[0], "20000");
    EXPECT_EQ(p.uchoice.altitude[1], "20000");
}

struct Bands {
    const char* name;
    const char* lower;
    const char* upper;
    std::array<std::int16_t, 16> lo, hi;
};

class UserbandsTest : public RangeDialogTest, public ::testing::WithParamInterface<Bands> {};

TEST_P(UserbandsTest, TurnsTheCaptionsIntoSchemeNinesBands) {
    const Bands& b = GetParam();
    loadUchoice(p);
    p.uchoice.altitude[1] = b.lower;
    p.uchoice.altitude[0] = b.upper;
    redraw_Click(p);
    EXPECT_EQ(p.colour.bandlo, b.lo);
    EXPECT_EQ(p.colour.bandhi, b.hi);
    EXPECT_EQ(p.colour.scheme, 9);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_setcol), std::vector<int>{9});
    // Both keys painted, loaded but not shown.
    EXPECT_TRUE(p.Key.loaded);
    EXPECT_TRUE(p.Hkey.loaded);
    EXPECT_FALSE(ui.tools[ToolWindow::Key].shown);
    EXPECT_FALSE(ui.tools[ToolWindow::Hkey].shown);
    EXPECT_EQ(ui.tools[ToolWindow::Key].changes, 1);
    EXPECT_EQ(ui.tools[ToolWindow::Hkey].changes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, UserbandsTest,
    ::testing::Values(
        Bands{"limits_0_7000", "0", "7000",
              {-8200, 1, 502, 1003, 1504, 2005, 2506, 3007, 3508, 4009, 4510, 5011, 5512, 6013, 6514, 7015},
              {0, 501, 1002, 1503, 2004, 2505, 3006, 3507, 4008, 4509, 5010, 5511, 6012, 6513, 7014, 21250}},
        Bands{"start_values", "-8200", "21250",
              {-8200, -8199, -6094, -3989, -1884, 221, 2326, 4431, 6536, 8641, 10746, 12851, 14956, 17061, 19166,
               21271},
              {-8200, -6095, -3990, -1885, 220, 2325, 4430, 6535, 8640, 10745, 12850, 14955, 17060, 19165, 21270,
               21250}},
        Bands{"reopened_dialog", "20000", "20000",
              {-8200, 20001, 20002, 20003, 20004, 20005, 20006, 20007, 20008, 20009, 20010, 20011, 20012, 20013, 20014,
               20015},
              {20000, 20001, 20002, 20003, 20004, 20005, 20006, 20007, 20008, 20009, 20010, 20011, 20012, 20013, 20014,
               21250}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RangeDialogTest, StartValuesColourTheLowestElevationWithItsBandsStartColour) {
    presetRangeDialog(p);
    redraw_Click(p);
    const std::size_t before = ui.messages.size();
    p.diagnostics.beginDrawing();
    Setcolours(p, 9, -8200);
    EXPECT_EQ((std::array{p.colour.R, p.colour.G, p.colour.B}), (std::array<std::int16_t, 3>{41, 57, 140}));
    EXPECT_EQ(ui.messages.size(), before + 1);
    // Nothing above band 14's end is coloured by band 15; 21250 lies in band 14.
    EXPECT_GT(p.colour.bandlo[15], p.colour.bandhi[15]);
    EXPECT_LE(21250, p.colour.bandhi[14]);
}

}  // namespace
}  // namespace rubicel
