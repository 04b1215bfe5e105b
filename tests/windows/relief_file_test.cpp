// SPDX-License-Identifier: MIT
// relief_file_test.cpp: the relief items: toggle and Apply redraw and are remembered; a damaged file gives the defaults.
#include "windows/relief_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless_platform.h"
#include "support/file_bytes.h"
#include "support/start_folder.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// A started program with a small area map on screen, as the Topography tests have it.
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
    void markPicture() {
        p.dmap.image.reset(4, 4, kMark);
        ui.yields = 0;
    }
    bool redrawn() const { return ui.yields > 0 && p.dmap.image.pixel(0, 0) != kMark; }
    std::filesystem::path file() const { return start.path() / kReliefFileName; }
    // The settings a program started now reads, and whether it said anything.
    ReliefSettings nextStart(bool& quiet) {
        HeadlessPlatform ui2;
        Program q(ui2);
        init(q);
        quiet = ui2.messages.empty();
        EXPECT_EQ(ui2.checked(MenuControl::m_relief), q.relief.on);
        return q.relief;
    }

    static constexpr std::uint32_t kMark = packRgb(1, 2, 3);
    test::StartFolder start;
    HeadlessPlatform ui;
    Program p{ui};
};

TEST_F(ReliefItems, ToggleAndApplyRedrawAndAreRememberedApartFromTheConfiguration) {
    const std::string configuration = start.configuration();
    bool quiet = false;
    EXPECT_EQ(nextStart(quiet), ReliefSettings{});
    EXPECT_FALSE(ui.checked(MenuControl::m_relief));

    markPicture();
    m_relief_Click(p);
    EXPECT_TRUE(p.relief.on);
    EXPECT_TRUE(ui.checked(MenuControl::m_relief));
    EXPECT_TRUE(redrawn());
    EXPECT_TRUE(nextStart(quiet).on);

    m_reliefset_Click(p);
    EXPECT_TRUE(ui.formShown[Form::Relief]);
    EXPECT_EQ(p.reliefDialog.text, (std::array<std::string, 4>{"315", "45", "10", "0.7"}));
    p.reliefDialog.text = {" 270", "30", "2.5", "1"};
    m_relief_Click(p);  // off again: Apply turns it on with the values
    markPicture();
    reliefApply_Click(p);
    EXPECT_TRUE(redrawn());
    const ReliefSettings applied{true, 270, 30, 2.5, 1};
    EXPECT_EQ(p.relief, applied);
    EXPECT_EQ(nextStart(quiet), applied);
    EXPECT_EQ(test::readAll(file()), "on=1\nazimuth=270\naltitude=30\nexaggeration=2.5\nstrength=1\n");
    EXPECT_EQ(start.configuration(), configuration);

    // A value out of its range names its box and changes nothing.
    for (const auto& [box, text] : {std::pair{1, "0"}, {1, "91"}, {2, "-1"}, {3, "1.01"}, {0, "north"}}) {
        p.reliefDialog.text = {"270", "30", "2.5", "1"};
        p.reliefDialog.text[std::size_t(box)] = text;
        ui.messages.clear();
        markPicture();
        reliefApply_Click(p);
        ASSERT_EQ(ui.messages.size(), 1u) << text;
        EXPECT_NE(ui.messages[0].text.find(kReliefBoxLabels[std::size_t(box)]), std::string::npos);
        EXPECT_FALSE(redrawn());
        EXPECT_EQ(p.relief, applied);
    }
}

TEST_F(ReliefItems, AMissingOrDamagedFileGivesTheDefaultsQuietly) {
    const char* damaged[] = {
        "",
        "on=1\nazimuth=270\naltitude=30\nexaggeration=2.5\n",                          // a value missing
        "on=1\nazimuth=270\naltitude=0\nexaggeration=2.5\nstrength=1\n",               // out of range
        "on=2\nazimuth=270\naltitude=30\nexaggeration=2.5\nstrength=1\n",              // not 0 or 1
        "on=1\nazimuth=270\naltitude=30\nexaggeration=2.5\nstrength=1\nstrength=1\n",  // repeated
        "on=1\nazimuth=west\naltitude=30\nexaggeration=2.5\nstrength=1\n",             // not a number
        "\x89PNG\r\n\x1a\n",
    };
    for (const char* text : damaged) {
        test::writeBytes(file(), text);
        bool quiet = false;
        EXPECT_EQ(nextStart(quiet), ReliefSettings{}) << text;
        EXPECT_TRUE(quiet);
    }
    test::writeBytes(file(), "strength=0.25\r\non=1\r\nazimuth=0\r\naltitude=90\r\nexaggeration=1e3\r\n");
    bool quiet = false;
    EXPECT_EQ(nextStart(quiet), (ReliefSettings{true, 0, 90, 1000, 0.25}));
}

}  // namespace
}  // namespace rubicel
