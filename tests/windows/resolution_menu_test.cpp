// SPDX-License-Identifier: MIT
// resolution_menu_test.cpp: the Resolution items, the menu's enabled items by kind of map, the redraw rule.
#include "windows/resolution_menu.h"

#include <gtest/gtest.h>

#include "maps/render_fixture.h"

namespace rubicel {
namespace {

class ResolutionMenu : public test::RenderFixture {};

TEST_F(ResolutionMenu, OpeningTheMenuEnablesItemsByKindOfMap) {
    const struct {
        const char* name;
        std::int16_t areaclass;
        bool startEnabled;
        std::array<bool, 8> enabled;
    } cases[] = {
        {"entire planet", kEntirePlanet, true, {true, true, true, true, true, false, false, false}},
        {"entire planet leaves 0 to 4", kEntirePlanet, false, {false, false, false, false, false, false, false, false}},
        {"single tile", kSingleTile, true, {true, true, true, true, true, true, false, false}},
        {"single tile leaves 0 to 4", kSingleTile, false, {false, false, false, false, false, true, false, false}},
        {"area map", kAreaMap, false, {true, true, true, true, true, true, true, true}},
        {"unknown kind", 7, false, {true, true, true, true, true, true, true, true}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 8; ++i) ui.setMenuEnabled(MenuId{MenuControl::m_siz, i}, c.startEnabled);
        p.map.areaclass = c.areaclass;
        m_size_Click(p);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(ui.enabled(MenuControl::m_siz, i), c.enabled[std::size_t(i)]) << c.name << " item " << i;
    }
}

TEST_F(ResolutionMenu, AnItemRedrawsTheCurrentMapAtItsStep) {
    writeRecords(3, {1});
    writeRecords(2, {3201});
    const struct {
        const char* name;
        std::int16_t mapsource, index, autoresolution;
        std::int16_t resolution;
        int checkedItem, width;
    } cases[] = {
        {"whole tile, Thumbnail", kFromTile, 0, 0, 24, 0, 479},
        {"whole tile, 7.5%", kFromTile, 1, 0, 13, 1, 886},
        {"area, 50%", kFromArea, 6, 0, 2, 6, 640},
        {"area, 25%", kFromArea, 4, 0, 4, 4, 320},
        {"area after Entire Planet: the automatic step wins", kFromArea, 3, 1, 2, 6, 640},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        p.map.mapsource = c.mapsource;
        p.map.areaclass = kAreaMap;
        p.map.autoresolution = c.autoresolution;
        p.map.tilefile = tiles[3].string();
        p.map.maparea = {10, 40, 30, 20};
        m_siz_Click(p, c.index);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(p.map.resolution, c.resolution);
        EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{c.checkedItem});
        EXPECT_EQ(p.dmap.image.width(), c.width);
        if (c.mapsource == kFromTile) expectPixel(1, 0, 3, 1, c.resolution);
        else expectPixel(1, 0, 2, 3201, 640 + c.resolution);
        EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{10, 40, 30, 20}));
    }
}

TEST_F(ResolutionMenu, NoRedrawForAnotherMapSource) {
    p.map.resolution = 1;
    p.dmap.image.reset(3, 3, packRgb(9, 9, 9));
    p.map.mapsource = 2;
    m_siz_Click(p, 2);
    EXPECT_EQ(p.map.resolution, 10);
    EXPECT_EQ(p.renderGeneration, 0);
    EXPECT_EQ(p.dmap.image.pixel(1, 1), kPictureBackground);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{2});
}

}  // namespace
}  // namespace rubicel
