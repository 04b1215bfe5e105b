// SPDX-License-Identifier: MIT
// tile_renderer_test.cpp: Drawtile on a full-size sparse tile: sizes, records read, stops and failures.
#include "maps/tile_renderer.h"

#include <gtest/gtest.h>

#include "render_fixture.h"

namespace rubicel {
namespace {

class TileRenderer : public test::RenderFixture {
protected:
    void draw(std::int16_t step) {
        p.map.mapsource = kFromTile;
        p.map.areaclass = kSingleTile;
        p.map.tilefile = tiles[3].string();
        p.map.resolution = step;
        Drawtile(p);
    }
};

TEST_F(TileRenderer, SizesAndRecordsByStep) {
    const struct {
        std::int16_t step;
        int W, H, width, height, rows;
    } cases[] = {
        {24, 7199, 3600, 479, 240, 240},
        {13, 13291, 6646, 886, 443, 443},
        {3, 57595, 28800, 3839, 1920, 1920},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        const int lastRecord = 1 + (c.rows - 1) * c.step;
        writeRecords(3, {1, 1 + c.step, lastRecord});
        ui.yields = 0;
        draw(c.step);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(p.dmap.widthTwips, c.W);
        EXPECT_EQ(p.dmap.heightTwips, c.H);
        EXPECT_EQ(p.dmap.image.width(), c.width);
        EXPECT_EQ(p.dmap.image.height(), c.height);
        EXPECT_EQ(ui.yields, c.rows);
        EXPECT_EQ(ui.caption(MenuControl::prcent), "Progress ...  100%");
        EXPECT_FALSE(ui.busyPointer);
        EXPECT_FALSE(anyFileOpen());
        expectPixel(0, 0, 3, 1, 0);
        expectPixel(c.width - 1, 0, 3, 1, (c.width - 1) * c.step);
        expectPixel(2, 1, 3, 1 + c.step, 2 * c.step);
        expectPixel(c.width - 1, c.rows - 1, 3, lastRecord, (c.width - 1) * c.step);
    }
}

TEST_F(TileRenderer, StopFlagStopsAndStaysSet) {
    const struct {
        const char* name;
        int stopAtYield;  // 0: the flag is set before the drawing starts
        int rowsDrawn;
    } cases[] = {{"already set", 0, 0}, {"set during the first row", 1, 1}};
    writeRecords(3, {1});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        p.map.stopflag = c.stopAtYield == 0 ? 1 : 0;
        ui.yields = 0;
        ui.onYield = [this, &c](int n) {
            if (n == c.stopAtYield) p.map.stopflag = 1;
        };
        draw(24);
        EXPECT_EQ(ui.yields, c.rowsDrawn);
        EXPECT_EQ(p.map.stopflag, 1);
        EXPECT_FALSE(ui.busyPointer);
        EXPECT_FALSE(anyFileOpen());
        EXPECT_TRUE(ui.messages.empty());
        if (c.rowsDrawn > 0) expectPixel(10, 0, 3, 1, 240);
        else EXPECT_EQ(p.dmap.image.pixel(10, 0), kPictureBackground);
        EXPECT_EQ(p.dmap.image.pixel(10, 1), kPictureBackground);
    }
}

TEST_F(TileRenderer, AnEmptyTileNameFails) {
    p.map.tilefile = p.map.datafolder;
    p.map.resolution = 13;
    Drawtile(p);
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0].text;
    EXPECT_TRUE(text.starts_with("Module 'Drawtile' - ")) << text;
    EXPECT_NE(text.find(p.map.datafolder), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\n 0  0  0\nx= 0   y= 0")) << text;
    EXPECT_EQ(ui.messages[0].title, "");
    EXPECT_EQ(ui.messages[0].icon, Icon::None);
    EXPECT_FALSE(ui.busyPointer);
    EXPECT_FALSE(anyFileOpen());
}

TEST_F(TileRenderer, AShortTileFailsAtItsEnd) {
    std::filesystem::resize_file(tiles[3], 100 * 23040);
    draw(24);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.starts_with("Module 'Drawtile' - Input past end of file"));
    // Records 1, 25, 49, 73 and 97 were drawn, so the fifth row failed.
    EXPECT_TRUE(ui.messages[0].text.ends_with("x= 0   y= 5")) << ui.messages[0].text;
    EXPECT_FALSE(anyFileOpen());
}

TEST_F(TileRenderer, RedrawDuringTheYieldSupersedesTheRunningOne) {
    writeRecords(3, {1});
    ui.onYield = [this](int n) {
        if (n == 2) draw(24);
    };
    draw(13);
    EXPECT_EQ(ui.yields, 2 + 240);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(p.dmap.image.width(), 479);
    EXPECT_FALSE(anyFileOpen());
    expectPixel(100, 0, 3, 1, 2400);
}

}  // namespace
}  // namespace rubicel
