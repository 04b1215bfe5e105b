// SPDX-License-Identifier: MIT
// drawn_map_test.cpp: each pixel of a finished map names the sample the renderer coloured there, and reads its elevation; a dragged band becomes a box.
#include "maps/drawn_map.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "maps/area_renderer.h"
#include "maps/map_view.h"
#include "maps/pointer_readout.h"
#include "maps/render_fixture.h"
#include "maps/tile_renderer.h"
#include "windows/drag_box.h"
#include "windows/help_menu.h"
#include "windows/main_window.h"

namespace rubicel {
namespace {

class DrawnMapTest : public test::RenderFixture {
protected:
    void drawArea(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d, std::int16_t step,
                  std::int16_t areaclass = kAreaMap) {
        p.map.areaclass = areaclass;
        p.map.mapsource = kFromArea;
        p.map.resolution = step;
        mapfromtile(p, a, b, c, d);
    }
    void drawTile(int tile, std::int16_t step) {
        p.map.mapsource = kFromTile;
        p.map.areaclass = kSingleTile;
        p.map.tilefile = p.map.datafolder + p.File1[std::size_t(tile)];
        p.map.resolution = step;
        Drawtile(p);
    }
};

struct Pixel {
    int x, y, tile, record, column;
    const char* readout;  // the read-out's text, where the case checks it
};

TEST_F(DrawnMapTest, PixelsNameTheSampleTheRendererColoured) {
    const struct {
        const char* name;
        std::function<void()> draw;
        std::vector<Pixel> pixels;
        std::vector<std::array<int, 2>> none;  // pixels that show no sample
    } cases[] = {
        // Columns 10879.. of the north-east tile, then from column 0 of the
        // north-west one, 4 columns a pixel; column 11519 is never drawn.
        {"across 180", [this] { drawArea(170, 40, 190, 20, 4); },
         {{0, 0, 2, 3201, 10879, "39.99°N  169.99°E   1 349 m"},
          {159, 5, 2, 3221, 11515, nullptr},
          {160, 5, 3, 3221, 0, "39.68°N  179.99°W (180.01°E)   5 600 m"},
          {319, 319, 3, 4477, 636, nullptr}},
         {{320, 0}, {0, 320}, {-1, 0}}},
        // Record 5759 of the north-west tile, then record 1 of the tile below;
        // the picture is narrower than the columns drawn.
        {"across the equator and 0", [this] { drawArea(-10, 5, 10, -5, 3); },
         {{0, 106, 3, 5759, 10879, nullptr},
          {0, 107, 1, 1, 10879, nullptr},
          {213, 0, 3, 5441, 11518, nullptr},
          {214, 107, 0, 1, 0, "0.01°S  0.01°E   -6 940 m"},
          {425, 212, 0, 316, 633, nullptr}},
         {{426, 0}, {0, 213}}},
        {"whole south-west tile", [this] { drawTile(1, 13); },
         {{0, 0, 1, 1, 0, nullptr}, {885, 442, 1, 5747, 11505, "89.79°S  0.23°W (359.77°E)   -2 761 m"}},
         {{886, 0}, {0, 443}}},
        {"stopped after its first row",
         [this] {
             ui.onYield = [this](int) { p.map.stopflag = 1; };
             drawArea(10, 40, 30, 20, 4);
             ui.onYield = nullptr;
         },
         {{3, 0, 2, 3201, 652, nullptr}},
         {{3, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Pixel& px : c.pixels) writeRecords(px.tile, {px.record});
        c.draw();
        ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text;
        for (const Pixel& px : c.pixels) {
            SCOPED_TRACE(testing::Message() << "pixel " << px.x << "," << px.y);
            expectPixel(px.x, px.y, px.tile, px.record, px.column);
            const auto sample = pixelSample(p.dmap, px.x, px.y);
            ASSERT_TRUE(sample);
            EXPECT_EQ(sample->tile, px.tile);
            EXPECT_EQ(sample->record, px.record);
            EXPECT_EQ(sample->column, px.column);
            const auto reading = p.readout.read(p.dmap, px.x, px.y);
            ASSERT_TRUE(reading);
            EXPECT_EQ(reading->elevation, elevation(px.tile, px.record, px.column));
            if (px.readout) {
                EXPECT_EQ(readoutText(*reading), px.readout);
            }
        }
        for (const auto& [x, y] : c.none) {
            EXPECT_FALSE(pixelSample(p.dmap, x, y)) << x << "," << y;
            dmap_MouseMove(p, float(x) + 0.5f, float(y) + 0.5f);
            EXPECT_EQ(ui.pointerText, "") << x << "," << y;
        }
    }
}

TEST_F(DrawnMapTest, NothingWhileDrawingOrOnceThePictureChanged) {
    writeRecords(2, {3201});
    std::vector<std::optional<PixelSample>> duringDrawing;
    ui.onYield = [this, &duringDrawing](int n) {
        if (n == 2) {
            duringDrawing.push_back(pixelSample(p.dmap, 0, 0));
            dmap_MouseMove(p, 0, 0);
            EXPECT_FALSE(dmap_DragAllowed(p));
            dmap_Drag(p, 0, 0, 50, 50);  // ignored: no nested drawing
        }
    };
    drawArea(10, 40, 30, 20, 4);
    ui.onYield = nullptr;
    ASSERT_EQ(duringDrawing.size(), 1u);
    EXPECT_FALSE(duringDrawing[0]);
    EXPECT_EQ(ui.pointerText, "");
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{10, 40, 30, 20}));

    const std::function<void()> changes[] = {
        [this] { clearMapPicture(p); },
        [this] { m_h_Click(p, 3); },  // the annotated map
        [this] { sizeMapPicture(p, 15 * 320, 15 * 320); },
    };
    for (const auto& change : changes) {
        drawArea(10, 40, 30, 20, 4);
        dmap_MouseMove(p, 0.5f, 0.5f);
        EXPECT_NE(ui.pointerText, "");
        EXPECT_TRUE(dmap_DragAllowed(p));
        change();
        EXPECT_FALSE(pixelSample(p.dmap, 0, 0));
        EXPECT_FALSE(dmap_DragAllowed(p));
        dmap_MouseMove(p, 0.5f, 0.5f);
        EXPECT_EQ(ui.pointerText, "");
    }
}

TEST_F(DrawnMapTest, RedrawStoppedAtOnceKeepsTheEarlierMapReadable) {
    // The picture keeps the earlier map's pixels; they name the same samples
    // only when the redraw is of the same map and nothing emptied the picture.
    const struct {
        const char* name;
        bool emptied;
        std::int16_t west;
        bool reads;
    } cases[] = {
        {"same map", false, 10, true},
        {"same map after the picture was emptied", true, 10, false},
        {"another map", false, 12, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drawArea(10, 40, 30, 20, 4);
        if (c.emptied) clearMapPicture(p);
        p.map.stopflag = 1;
        drawArea(c.west, 40, 30, 20, 4);
        EXPECT_EQ(pixelSample(p.dmap, 3, 5).has_value(), c.reads);
    }
}

TEST_F(DrawnMapTest, DraggedBandGivesTheBoxRoundedOutward) {
    using Limits = std::array<std::int16_t, 4>;
    const struct {
        const char* name;
        std::function<void()> draw;
        int x0, y0, x1, y1;
        Limits limits;
    } cases[] = {
        {"inside one tile", [this] { drawArea(170, 40, 190, 20, 4); }, 150, 100, 10, 10,
         {170, 40, 180, 33}},
        {"across 180, east limit above 180", [this] { drawArea(170, 40, 190, 20, 4); }, 100, 10, 250,
         50, {176, 40, 186, 36}},
        {"under a degree each way: the degree around its centre",
         [this] { drawArea(170, 40, 190, 20, 4); }, 10, 10, 12, 12, {170, 40, 171, 39}},
        {"past the drawn pixels, beyond 180: cut to them, west below 180", [this] { drawArea(170, 40, 190, 20, 4); }, 300, 300,
         400, 400, {-172, 22, -170, 20}},
        {"east half of the planet centred on 180: west below 180",
         [this] { drawArea(0, 90, 360, -90, 24, kEntirePlanet); }, 600, 100, 700, 200,
         {-135, 53, -97, 14}},
        {"to the pole", [this] { drawTile(3, 13); }, 0, 0, 40, 40, {-180, 90, -171, 81}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.draw();
        EXPECT_EQ(dragLimits(p.dmap, c.x0, c.y0, c.x1, c.y1), c.limits);
    }

    // The box is drawn as an area map at the automatic step, across 180 here.
    writeRecords(2, {3201});
    writeRecords(3, {3201});
    drawArea(170, 40, 190, 20, 4);
    p.map.resolution = 4;
    dmap_Drag(p, 100, 10, 250, 50);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    EXPECT_EQ(p.map.maparea, (Limits{176, 40, 186, 36}));
    EXPECT_EQ(p.map.mapsource, kFromArea);
    EXPECT_EQ(p.map.areaclass, kAreaMap);
    EXPECT_EQ(p.map.resolution, 1);
    EXPECT_EQ(p.map.autoresolution, 0);
    EXPECT_EQ(p.dmap.image.width(), 640);
    expectPixel(255, 0, 2, 3201, 11518);
    expectPixel(256, 0, 3, 3201, 0);
    EXPECT_EQ(pixelSample(p.dmap, 256, 0)->tile, 3);
}

}  // namespace
}  // namespace rubicel
