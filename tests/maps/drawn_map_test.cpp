// SPDX-License-Identifier: MIT
// drawn_map_test.cpp: a finished map's pixels name and read the samples the renderer coloured; a dragged band becomes a box.
#include "maps/drawn_map.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "maps/area_renderer.h"
#include "maps/map_view.h"
#include "maps/pointer_readout.h"
#include "maps/render_fixture.h"
#include "maps/tile_renderer.h"
#include "windows/drag_box.h"
#include "windows/help_menu.h"

namespace rubicel {
namespace {

using Box = std::array<std::int16_t, 4>;

class DrawnMapTest : public test::RenderFixture {
protected:
    void drawArea(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d, std::int16_t step) {
        p.map.areaclass = kAreaMap;
        p.map.mapsource = kFromArea;
        p.map.resolution = step;
        mapfromtile(p, a, b, c, d);
    }
    void drawTile(int tile, std::int16_t step) {
        p.map.tilefile = p.map.datafolder + p.File1[std::size_t(tile)];
        p.map.resolution = step;
        Drawtile(p);
    }
    // The read-out with the pointer on pixel (x, y); empty where none is shown.
    std::string readout(int x, int y) {
        dmap_MouseMove(p, float(x) + 0.5f, float(y) + 0.5f);
        return ui.pointerText;
    }
};

// Across 180° the row runs from column 10879 of the north-east tile on from
// column 0 of the north-west one; across the equator the records restart at 1.
TEST_F(DrawnMapTest, PixelsReadTheSampleTheRendererColoured) {
    const struct {
        std::function<void()> draw;
        std::vector<std::array<int, 5>> pixels;  // x, y, tile, record, column
        std::array<int, 2> noSample;
    } cases[] = {
        {[this] { drawArea(170, 40, 190, 20, 4); },
         {{0, 0, 2, 3201, 10879}, {159, 5, 2, 3221, 11515}, {160, 5, 3, 3221, 0}, {319, 319, 3, 4477, 636}}, {320, 0}},
        {[this] { drawArea(-10, 5, 10, -5, 3); },
         {{0, 106, 3, 5759, 10879}, {0, 107, 1, 1, 10879}, {214, 107, 0, 1, 0}, {425, 212, 0, 316, 633}}, {0, 213}},
        {[this] { drawTile(1, 13); }, {{0, 0, 1, 1, 0}, {885, 442, 1, 5747, 11505}}, {886, 0}},
    };
    for (const auto& c : cases) {
        for (const auto& [x, y, t, k, column] : c.pixels) writeRecords(t, {k});
        c.draw();
        for (const auto& [x, y, t, k, column] : c.pixels) {
            expectPixel(x, y, t, k, column);
            const auto reading = p.readout.read(p.dmap, x, y);
            ASSERT_TRUE(reading) << x << "," << y;
            EXPECT_EQ((std::array{reading->sample.tile, reading->sample.record, reading->sample.column}),
                      (std::array{t, k, column}));
            EXPECT_EQ(reading->elevation, elevation(t, k, column));
        }
        EXPECT_EQ(readout(c.noSample[0], c.noSample[1]), "");
    }
    EXPECT_EQ(readout(885, 442), "89.79°S  0.23°W (359.77°E)   -2 761 m   Planum Australe (planum, 1 430 km)");
    drawArea(170, 40, 190, 20, 4);
    EXPECT_EQ(readout(160, 5), "39.68°N  179.99°W (180.01°E)   5 600 m   Arcadia Planitia (planitia, 2 245 km)");
}

// The read-out names the smallest feature of the gazetteer whose extent holds
// the sample: Aeolis Mons, Gale's central mound, inside Gale, inside Aeolis
// Mensae and Elysium Planitia; nothing where no feature lies.
TEST_F(DrawnMapTest, NamesTheSmallestFeatureUnderThePointer) {
    const struct {
        Box box;
        int x, y;
        const char* text;
    } cases[] = {
        {{136, -4, 140, -7}, 118, 69, "5.09°S  137.84°E   0 m   Aeolis Mons (mons, 89 km)"},
        {{136, -4, 140, -7}, 115, 160, "6.51°S  137.79°E   0 m   Gale (crater, 154 km)"},
        {{-168, -8, -167, -9}, 32, 32, "8.51°S  167.49°W (192.51°E)   0 m"},
    };
    for (const auto& c : cases) {
        drawArea(c.box[0], c.box[1], c.box[2], c.box[3], 1);
        EXPECT_EQ(readout(c.x, c.y), c.text);
    }
}

TEST_F(DrawnMapTest, NothingWhileDrawingOrOnceThePictureShowsSomethingElse) {
    writeRecords(2, {3201});
    std::string duringDrawing = "none read";
    ui.onYield = [this, &duringDrawing](int n) {
        if (n != 2) return;
        duringDrawing = readout(0, 0);
        dmap_Drag(p, 0, 0, 50, 50);  // ignored: nothing drawn inside the drawing
    };
    drawArea(10, 40, 30, 20, 4);
    ui.onYield = nullptr;
    EXPECT_EQ(duringDrawing, "");
    EXPECT_EQ(p.map.maparea, (Box{10, 40, 30, 20}));

    // A redraw stopped at once leaves the earlier map's pixels: still its
    // samples when it redrew the same map.
    const auto stoppedRedraw = [this](std::int16_t west) {
        return [this, west] {
            p.map.stopflag = 1;
            drawArea(west, 40, 30, 20, 4);
        };
    };
    const struct {
        std::function<void()> change;
        bool reads;
    } cases[] = {
        {[this] { clearMapPicture(p); }, false},
        {[this] { m_h_Click(p, 3); }, false},  // the annotated map
        {stoppedRedraw(12), false},
        {stoppedRedraw(10), true},
    };
    for (const auto& c : cases) {
        drawArea(10, 40, 30, 20, 4);
        c.change();
        EXPECT_EQ(readout(0, 0).empty(), !c.reads);
        EXPECT_EQ(dmap_DragAllowed(p), c.reads);
    }
}

TEST_F(DrawnMapTest, DraggedBandDrawsTheBoxRoundedOutward) {
    const auto across180 = [this] { drawArea(170, 40, 190, 20, 4); };
    const struct {
        std::function<void()> draw;
        int x0, y0, x1, y1;
        Box box;
    } cases[] = {
        {across180, 150, 100, 10, 10, {170, 40, 180, 33}},   // corners 170.6..179.4 E, 39.4..33.7 N
        {across180, 100, 10, 250, 50, {176, 40, 186, 36}},   // on past 180
        {across180, 10, 10, 12, 12, {170, 40, 171, 39}},     // under a degree: the degree around it
        {across180, 300, 300, 400, 400, {-172, 22, -170, 20}},  // cut to the map, wholly past 180
        {[this] { drawTile(3, 13); }, 0, 0, 40, 40, {-180, 90, -171, 81}},  // to the pole
    };
    for (const auto& c : cases) {
        c.draw();
        EXPECT_EQ(dragLimits(p.dmap, c.x0, c.y0, c.x1, c.y1), c.box) << c.x0 << "," << c.y0;
    }

    // Drawn as an area map at the automatic step, across 180 here.
    writeRecords(2, {3201});
    writeRecords(3, {3201});
    across180();
    dmap_Drag(p, 100, 10, 250, 50);
    EXPECT_EQ(p.map.maparea, (Box{176, 40, 186, 36}));
    EXPECT_EQ(p.map.resolution, 1);
    expectPixel(255, 0, 2, 3201, 11518);
    expectPixel(256, 0, 3, 3201, 0);
}

}  // namespace
}  // namespace rubicel
