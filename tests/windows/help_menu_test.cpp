// SPDX-License-Identifier: MIT
// help_menu_test.cpp: the Help menu's information boxes, help file and annotated map.
#include "windows/help_menu.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "maps/map_view.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {
namespace {

class HelpMenuTest : public testing::Test {
protected:
    HeadlessPlatform ui;
    Program p{ui};
    void SetUp() override { p.map.versiontext = kVersionText; }
};

struct InfoCase {
    int index;
    const char* title;
    const char* text;
};

class InformationBox : public HelpMenuTest, public testing::WithParamInterface<InfoCase> {};

TEST_P(InformationBox, ShowsTheFixedText) {
    m_h_Click(p, static_cast<std::int16_t>(GetParam().index));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, GetParam().title);
    EXPECT_EQ(ui.messages[0].text, GetParam().text);
    EXPECT_EQ(ui.messages[0].icon, Icon::Information);
}

INSTANTIATE_TEST_SUITE_P(
    Items, InformationBox,
    testing::Values(InfoCase{0, "Rubicel v 1.12  -  March 6, 2007",
                             "Rubicel\n\nSoftware to create maps from the\nMEGDR064 MOLA elevation data set\n\n"
                             "(c) 2007 the Rubicel authors\n\n"
                             "Feature names: IAU WGPSN / USGS Gazetteer of Planetary Nomenclature"},
                    InfoCase{5, "Obtaining the MEGDR064 MOLA data files",
                             "The MEGDR064 64 pixel/degree MOLA Digital Elevation Model\n"
                             "files can be downloaded from:\n\n"
                             "https://pds-geosciences.wustl.edu/missions/mgs/megdr.html\n\n"
                             "See the HELP File for further details."}));

TEST_F(HelpMenuTest, ProgramHelpOpensTheHelpFileOnly) {
    m_h_Click(p, 1);
    EXPECT_EQ(ui.helpFiles, std::vector<std::string>{"rubicel.chm"});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HelpMenuTest, SeparatorsAndOtherIndexesDoNothing) {
    for (int index : {2, 4, 6, -1, 32767}) m_h_Click(p, static_cast<std::int16_t>(index));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.helpFiles.empty());
    EXPECT_EQ(ui.imageResets, 0);
    EXPECT_TRUE(ui.menus.empty());
}

TEST_F(HelpMenuTest, AnnotatedMapReplacesThePictureButNotTheMapState) {
    ui.annotatedMapPicture.reset(1024, 397, packRgb(10, 20, 30));
    ui.annotatedMapPicture.setPixel(1023, 396, packRgb(250, 0, 0));
    p.dmap.image.reset(960, 480, packRgb(1, 1, 1));
    p.map.maparea = {-180, 90, 180, -90};
    p.map.resolution = 20;
    p.map.mapsource = kFromArea;
    p.map.areaclass = kEntirePlanet;
    ui.setMenuChecked({MenuControl::m_siz, 0}, true);
    ui.setScrollValue(Control::Hscrbar, 300);
    const MapState before = p.map;

    m_h_Click(p, 3);

    EXPECT_EQ(p.dmap.widthTwips, 15360);
    EXPECT_EQ(p.dmap.heightTwips, 5955);
    ASSERT_EQ(p.dmap.image.width(), 1024);
    ASSERT_EQ(p.dmap.image.height(), 397);
    EXPECT_EQ(p.dmap.image.pixel(1023, 396), packRgb(250, 0, 0));
    EXPECT_EQ(p.dmap.image.pixel(0, 0), packRgb(10, 20, 30));
    EXPECT_EQ(ui.imageResets, 1);
    EXPECT_EQ(ui.caption(MenuControl::prcent), "Mars map:   longitude -180\u00b0 to +180\u00b0  latitude +57\u00b0 to -57\u00b0");
    EXPECT_EQ(p.map.maparea, before.maparea);
    EXPECT_EQ(p.map.resolution, before.resolution);
    EXPECT_EQ(p.map.mapsource, before.mapsource);
    EXPECT_EQ(p.map.areaclass, before.areaclass);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{0});
    EXPECT_EQ(ui.scrollValue(Control::Hscrbar), 300);
    // A bar shown for the map reaches its east and south edges.
    for (const auto& [bar, maximum] : ui.scrollMaximums) EXPECT_EQ(maximum, std::max(0, scrollLimit(p, bar)));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HelpMenuTest, AnnotatedMapMissingLeavesAnEmptyPicture) {
    p.dmap.image.reset(50, 50);
    m_h_Click(p, 3);
    EXPECT_TRUE(p.dmap.image.empty());
    EXPECT_EQ(p.dmap.widthTwips, 15360);
    EXPECT_EQ(ui.imageResets, 1);
}

}  // namespace
}  // namespace rubicel
