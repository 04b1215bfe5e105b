// SPDX-License-Identifier: MIT
// relief_file_test.cpp: the relief items: toggle and Apply redraw and are remembered; a damaged file gives the defaults.
#include "windows/relief_file.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "support/file_bytes.h"
#include "support/start_folder.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace rubicel {
namespace {

class ReliefItems : public testing::Test {
protected:
    ReliefItems() {
        start.prepare();
        init(p);
        p.map.mapsource = kFromArea;
        p.map.areaclass = kAreaMap;
        p.map.resolution = 8;
        p.map.maparea = {-7, 0, -3, -4};
    }
    // Runs a menu command over a marked picture; returns whether the map was redrawn.
    template <class Command>
    bool redraws(Command command) {
        p.dmap.image.reset(4, 4, packRgb(1, 2, 3));
        ui.yields = 0;
        command(p);
        return ui.yields > 0 && p.dmap.image.pixel(0, 0) != packRgb(1, 2, 3);
    }
    // What a program started now reads, with its check mark; nothing is said.
    ReliefSettings nextStart() {
        HeadlessPlatform ui2;
        Program q(ui2);
        init(q);
        EXPECT_TRUE(ui2.messages.empty());
        EXPECT_EQ(ui2.checked(MenuControl::m_relief), q.relief.on);
        return q.relief;
    }

    test::StartFolder start;
    HeadlessPlatform ui;
    Program p{ui};
};

TEST_F(ReliefItems, ToggleAndApplyRedrawAndAreRememberedApartFromTheConfiguration) {
    const std::string configuration = start.configuration();
    EXPECT_EQ(nextStart(), ReliefSettings{});
    EXPECT_TRUE(redraws(m_relief_Click));
    EXPECT_TRUE(ui.checked(MenuControl::m_relief));
    EXPECT_TRUE(nextStart().on);

    m_relief_Click(p);  // off again: Apply turns it on with the dialog's values
    m_reliefset_Click(p);
    EXPECT_TRUE(ui.formShown[Form::Relief]);
    EXPECT_EQ(p.reliefDialog.text, (std::array<std::string, 4>{"315", "45", "10", "0.7"}));
    p.reliefDialog.text = {" 270", "30", "2.5", "1"};
    EXPECT_TRUE(redraws(reliefApply_Click));
    const ReliefSettings applied{true, 270, 30, 2.5, 1};
    EXPECT_EQ(nextStart(), applied);
    EXPECT_EQ(test::readAll(start.path() / kReliefFileName),
              "on=1\nazimuth=270\naltitude=30\nexaggeration=2.5\nstrength=1\n");
    EXPECT_EQ(start.configuration(), configuration);

    // A value out of its range names the range, as the box's label does, and changes nothing.
    const struct {
        int box;
        const char* text;
        const char* range;
    } refused[] = {{1, "0", "from 0.001 to 90"},
                   {1, "91", "from 0.001 to 90"},
                   {2, "-1", "above 0 and at most 1000000"},
                   {2, "1e7", "above 0 and at most 1000000"},
                   {3, "1.01", "from 0 to 1"},
                   {0, "north", "a number of degrees"}};
    for (const auto& [box, text, range] : refused) {
        p.reliefDialog.text[std::size_t(box)] = text;
        ui.messages.clear();
        EXPECT_FALSE(redraws(reliefApply_Click));
        ASSERT_EQ(ui.messages.size(), 1u) << text;
        EXPECT_NE(ui.messages[0].text.find(range), std::string::npos) << ui.messages[0].text;
        EXPECT_NE(std::string(kReliefBoxLabels[std::size_t(box)]).find(reliefRange(ReliefBox(box))), std::string::npos);
        EXPECT_EQ(p.relief, applied);
        p.reliefDialog.text = {"270", "30", "2.5", "1"};
    }
}

TEST_F(ReliefItems, AMissingOrDamagedFileGivesTheDefaultsQuietly) {
    for (const char* text : {"", "on=1\nazimuth=270\naltitude=30\nexaggeration=2.5\n",  // a value missing
                             "on=1\nazimuth=270\naltitude=0\nexaggeration=2.5\nstrength=1\n",
                             "on=2\nazimuth=270\naltitude=30\nexaggeration=2.5\nstrength=1\n",
                             "on=1\nazimuth=west\naltitude=30\nexaggeration=2.5\nstrength=1\n", "\x89PNG\r\n\x1a\n"}) {
        test::writeBytes(start.path() / kReliefFileName, text);
        EXPECT_EQ(nextStart(), ReliefSettings{}) << text;
    }
    test::writeBytes(start.path() / kReliefFileName,
                     "strength=0.25\r\non=1\r\nazimuth=0\r\naltitude=90\r\nexaggeration=1e3\r\n");
    EXPECT_EQ(nextStart(), (ReliefSettings{true, 0, 90, 1000, 0.25}));
}

}  // namespace
}  // namespace rubicel
