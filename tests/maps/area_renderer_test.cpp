// SPDX-License-Identifier: MIT
// area_renderer_test.cpp: mapfromtile on full-size sparse tiles: sizes, tiles and records read, progress, stops, failures.
#include "maps/area_renderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/number_text.h"
#include "render_fixture.h"

namespace rubicel {
namespace {

using test::RenderFixture;

class AreaRenderer : public RenderFixture {
protected:
    // Draws the box with a fixed step and no automatic choice.
    void draw(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d, std::int16_t step,
              std::int16_t areaclass = kAreaMap) {
        p.map.areaclass = areaclass;
        p.map.mapsource = kFromArea;
        p.map.resolution = step;
        mapfromtile(p, a, b, c, d);
    }
    void expectFinished(std::array<std::int16_t, 4> area) {
        EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
        EXPECT_EQ(p.map.maparea, area);
        EXPECT_FALSE(ui.busyPointer);
        EXPECT_FALSE(anyFileOpen());
        for (MenuControl menu : {MenuControl::m_topo, MenuControl::m_size, MenuControl::m_define}) EXPECT_TRUE(ui.enabled(menu)) << menuControlName(menu);
    }
    std::string firstCaption;  // the status caption after the first row
    void recordFirstCaption() {
        ui.onYield = [this](int n) {
            if (n == 2) firstCaption = ui.caption(MenuControl::prcent);
        };
    }
};

TEST_F(AreaRenderer, EntirePlanetAtStep24) {
    const struct {
        const char* name;
        std::int16_t west, east;
        int northWest, northEast, southWest, southEast;  // tiles of the four quarters of the picture
        const char* caption;
    } cases[] = {
        {"centred on 0", -180, 180, 3, 2, 1, 0,
         "960×480 pixel image   -  Mapping ... long: -180° to 180° ... lat: 90° to -90° ...  0%"},
        {"centred on 180", 0, 360, 2, 3, 0, 1,
         "960×480 pixel image   -  Mapping ... long: 0° to 360° ... lat: 90° to -90° ...  0%"},
    };
    for (int t = 0; t < 4; ++t) writeRecords(t, {1, 25, 5737});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.yields = 0;
        recordFirstCaption();
        mclear(p, 0);
        draw(c.west, 90, c.east, -90, 24, kEntirePlanet);
        EXPECT_EQ(p.dmap.widthTwips, 14400);
        EXPECT_EQ(p.dmap.heightTwips, 7200);
        EXPECT_EQ(p.dmap.image.width(), 960);
        EXPECT_EQ(p.dmap.image.height(), 480);
        EXPECT_EQ(ui.yields, 480);
        EXPECT_EQ(firstCaption, c.caption);
        EXPECT_TRUE(ui.caption(MenuControl::prcent).ends_with(" ...  100%")) << ui.caption(MenuControl::prcent);
        expectFinished({c.west, 90, c.east, -90});
        expectPixel(0, 0, c.northWest, 1, 0);
        expectPixel(479, 0, c.northWest, 1, 11496);
        expectPixel(480, 0, c.northEast, 1, 0);
        expectPixel(959, 0, c.northEast, 1, 11496);
        expectPixel(5, 1, c.northWest, 25, 120);
        expectPixel(0, 239, c.northWest, 5737, 0);
        expectPixel(0, 240, c.southWest, 1, 0);
        expectPixel(700, 241, c.southEast, 25, 5280);
        expectPixel(959, 479, c.southEast, 5737, 11496);
    }
}

TEST_F(AreaRenderer, SecondEntirePlanetPicksStep20) {
    for (int t = 0; t < 4; ++t) writeRecords(t, {1});
    p.map.autoresolution = 1;
    draw(-180, 90, 180, -90, 24, kEntirePlanet);
    EXPECT_EQ(p.map.resolution, 20);
    EXPECT_EQ(p.map.autoresolution, 0);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{0});
    EXPECT_EQ(p.dmap.image.width(), 1152);
    EXPECT_EQ(p.dmap.image.height(), 576);
    expectPixel(575, 0, 3, 1, 11500);
    expectPixel(576, 0, 2, 1, 0);
    expectPixel(576, 288, 0, 1, 0);
}

TEST_F(AreaRenderer, AutomaticStepOfABox) {
    writeRecords(2, {3201});
    p.map.autoresolution = 1;
    draw(10, 40, 30, 20, 4);
    EXPECT_EQ(p.map.resolution, 2);
    EXPECT_EQ(p.map.autoresolution, 0);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{6});
    EXPECT_EQ(p.dmap.image.width(), 640);
    expectPixel(1, 0, 2, 3201, 642);
}

TEST_F(AreaRenderer, BoxesAcrossTileEdges) {
    const struct {
        const char* name;
        std::int16_t a, b, c, d, step;
        std::vector<int> keep;  // the only tiles left on disk
        int width, height;
        struct Pixel { int x, y, tile, record, column; };
        std::vector<Pixel> pixels;
    } cases[] = {
        {"inside one tile opens one file", 10, 40, 30, 20, 4, {2}, 320, 320,
         {{0, 0, 2, 3201, 640}, {319, 0, 2, 3201, 1916}, {0, 1, 2, 3205, 640}}},
        {"across 180 in a southern tile", 170, -10, 190, -20, 4, {0, 1}, 320, 160,
         {{0, 0, 0, 641, 10879}, {159, 0, 0, 641, 11515}, {160, 0, 1, 641, 0}, {319, 0, 1, 641, 636}}},
        // 214 rows and columns are drawn into a picture of 213: the last are clipped.
        {"across the equator, records restart at 1", 10, 5, 20, -5, 3, {2, 0}, 213, 213,
         {{0, 0, 2, 5441, 640}, {212, 0, 2, 5441, 1276}, {0, 106, 2, 5759, 640}, {0, 107, 0, 1, 640},
          {3, 108, 0, 4, 649}, {0, 212, 0, 316, 640}}},
        {"southern box down to the pole ends after its last row", 10, -80, 20, -90, 4, {0}, 160, 160,
         {{0, 0, 0, 5121, 640}, {0, 159, 0, 5757, 640}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir folder;
        auto paths = test::makeSparseTileSet(folder.path());
        tiles = paths;
        p.map.datafolder = folder.folder();
        for (const auto& px : c.pixels) writeRecords(px.tile, {px.record});
        for (int t = 0; t < 4; ++t)
            if (std::find(c.keep.begin(), c.keep.end(), t) == c.keep.end()) std::filesystem::remove(paths[std::size_t(t)]);
        draw(c.a, c.b, c.c, c.d, c.step);
        expectFinished({c.a, c.b, c.c, c.d});
        EXPECT_EQ(p.dmap.image.width(), c.width);
        EXPECT_EQ(p.dmap.image.height(), c.height);
        for (const auto& px : c.pixels) expectPixel(px.x, px.y, px.tile, px.record, px.column);
    }
}

TEST_F(AreaRenderer, LeavesTheColourOfTheLastSampleDrawn) {
    writeRecords(0, {319});
    draw(10, 5, 20, -5, 3);
    // The last row, record 319 of the south-east tile, is drawn beyond the picture;
    // its last column is 640 + 213 * 3.
    const std::uint32_t last = colourOf(elevation(0, 319, 1279));
    EXPECT_EQ(packRgb(p.colour.R, p.colour.G, p.colour.B), last);
}

TEST_F(AreaRenderer, StopDuringTheFirstRow) {
    writeRecords(2, {3201, 3205});
    p.map.maparea = {1, 2, 3, 4};
    ui.onYield = [this](int) { p.map.stopflag = 1; };
    draw(10, 40, 30, 20, 4);
    EXPECT_EQ(ui.yields, 1);
    EXPECT_EQ(p.map.stopflag, 0);
    expectFinished({10, 40, 30, 20});
    expectPixel(100, 0, 2, 3201, 1040);
    EXPECT_EQ(p.dmap.image.pixel(100, 1), kPictureBackground);
}

TEST_F(AreaRenderer, FailuresShowTheMessageAndSkipTheEnd) {
    writeRecords(2, {5121});
    const std::uint32_t lastOfRow = colourOf(elevation(2, 5121, 1279));
    const std::string colourLine = "  R=" + signedText((long long)redOf(lastOfRow)) + "  G=" + signedText((long long)greenOf(lastOfRow)) +
                                   "  B=" + signedText((long long)blueOf(lastOfRow));
    const struct {
        const char* name;
        std::int16_t a, b, c, d;
        std::string text;  // the whole message, or its start when it ends in "..."
    } cases[] = {
        {"no latitude extent", 10, 10, 20, 10,
         "Module 'MapfromTile' - Division by zero\nLatitude range: 10  10\nMap height= 0\nStart y (sy%)= 5121\n"
         "  X= 640  Y= 0" + colourLine + "\nResolution= 1"},
        {"north-west corner west of -180", -190, 10, -170, 0,
         "Module 'MapfromTile' - Subscript out of range\nLatitude range: 10  0\nMap height= 9600\n"
         "Start y (sy%)= 5121\n  X= 0  Y= 0..."},
        {"north-west corner at 180", 180, 10, 190, 0, "Module 'MapfromTile' - Subscript out of range\n..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        mclear(p, 0);
        p.map.maparea = {1, 2, 3, 4};
        draw(c.a, c.b, c.c, c.d, 1);
        ASSERT_EQ(ui.messages.size(), 1u);
        const std::string& text = ui.messages[0].text;
        if (c.text.ends_with("...")) EXPECT_TRUE(text.starts_with(c.text.substr(0, c.text.size() - 3))) << text;
        else EXPECT_EQ(text, c.text);
        EXPECT_EQ(ui.messages[0].title, "");
        EXPECT_EQ(ui.messages[0].icon, Icon::None);
        EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{1, 2, 3, 4}));
        EXPECT_FALSE(ui.enabled(MenuControl::m_size));
        EXPECT_FALSE(ui.busyPointer);
        EXPECT_FALSE(anyFileOpen());
    }
}

TEST_F(AreaRenderer, UnreadableTilesFailWithTheirDescription) {
    const struct {
        const char* name;
        void (*spoil)(Program&, const std::filesystem::path&);
        std::string description;
    } cases[] = {
        {"tile missing", [](Program&, const std::filesystem::path& f) { std::filesystem::remove(f); },
         "File not found"},
        {"tile cut short",
         [](Program&, const std::filesystem::path& f) { std::filesystem::resize_file(f, 1000 * 23040); },
         "Input past end of file"},
        // As a whole-tile map of a missing entry: the folder itself is opened.
        {"tile list without the entry", [](Program& p, const std::filesystem::path&) { p.File1.resize(2); },
         "Path/File access error: " + p.map.datafolder + " is a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        c.spoil(p, tiles[2]);
        draw(10, 40, 30, 20, 4);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(ui.messages[0].text.starts_with("Module 'MapfromTile' - " + c.description))
            << ui.messages[0].text;
        EXPECT_FALSE(anyFileOpen());
        tiles = test::makeSparseTileSet(dir.path());
        p.File1.assign(test::kTileNames.begin(), test::kTileNames.end());
    }
}

// A folder chosen while a map draws takes effect at the next start: the rows
// below the equator still come from the folder the drawing started with.
TEST_F(AreaRenderer, TilesAreTheOnesOfTheFolderAtTheStart) {
    writeRecords(0, {1});
    test::TempDir other;
    ui.onYield = [&](int n) {
        if (n == 1) p.map.datafolder = other.folder();
    };
    draw(10, 5, 20, -5, 3);
    expectFinished({10, 5, 20, -5});
    expectPixel(0, 107, 0, 1, 640);
}

TEST_F(AreaRenderer, RenderingStartedDuringTheYieldSupersedesTheRunningOne) {
    writeRecords(2, {3201});
    ui.onYield = [this](int n) {
        if (n == 3) draw(10, 40, 30, 20, 4);
    };
    draw(-180, 90, 180, -90, 24, kEntirePlanet);
    EXPECT_EQ(ui.yields, 3 + 320);
    expectFinished({10, 40, 30, 20});
    EXPECT_EQ(p.dmap.image.width(), 320);
    expectPixel(0, 0, 2, 3201, 640);
    EXPECT_EQ(p.renderGeneration, 2);
}

TEST_F(AreaRenderer, EndingTheProgramEndsTheDrawing) {
    p.map.maparea = {1, 2, 3, 4};
    ui.onYield = [this](int) { p.exiting = true; };
    draw(10, 40, 30, 20, 4);
    EXPECT_EQ(ui.yields, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{1, 2, 3, 4}));
    EXPECT_FALSE(anyFileOpen());
}

TEST_F(AreaRenderer, PixelsMatchTheEngineCalledForEachSample) {
    // Elevations the table sends back to the engine: in mode 2 -9000 fails the
    // square root and 21251 and 22000 lie above the top band's range, two kinds of
    // diagnostic each shown once per drawing; -9000, -8201, 21251 and 22000 lie
    // outside every band of scheme 9 and keep the colour before them.
    const std::int16_t odd[] = {-9000, -8201, 21251, 0, 250, -4999, 22000};
    const struct {
        const char* name;
        std::int16_t scheme, mode;
        std::size_t messages;
    } cases[] = {{"scheme 0, square root enhanced", 0, 2, 2}, {"scheme 9, blended", 9, 1, 0},
                 {"separator scheme colours nothing", 6, 1, 0}};
    test::writeRecord(tiles[2], 3201, [&](int c) { return odd[(c / 4) % 7]; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        p.colour.scheme = c.scheme;
        p.colour.mode = c.mode;
        p.colour.R = 1, p.colour.G = 2, p.colour.B = 3;
        ref.colour = p.colour;
        ui.onYield = [this](int) { p.map.stopflag = 1; };
        draw(10, 40, 30, 20, 4);
        EXPECT_EQ(ui.messages.size(), c.messages);
        for (int x = 0; x < 320; ++x) {
            const std::int16_t alt = odd[((640 + 4 * x) / 4) % 7];
            Setcolours(ref, c.scheme, alt);
            ASSERT_EQ(p.dmap.image.pixel(x, 0), packRgb(ref.colour.R, ref.colour.G, ref.colour.B)) << "x=" << x;
        }
        EXPECT_EQ(p.colour.R, ref.colour.R);
        EXPECT_EQ(p.colour.G, ref.colour.G);
        EXPECT_EQ(p.colour.B, ref.colour.B);
    }
}

TEST_F(AreaRenderer, MapMenuSwitch) {
    const struct {
        std::int16_t before, flag;
        bool enabled;
    } cases[] = {{1, 0, false}, {0, 1, true}, {0, 2, false}, {1, 2, true}, {1, -1, true}};
    for (const auto& c : cases) {
        mclear(p, c.before);
        mclear(p, c.flag);
        for (MenuControl menu : {MenuControl::m_topo, MenuControl::m_size, MenuControl::m_define})
            EXPECT_EQ(ui.enabled(menu), c.enabled) << menuControlName(menu) << " after " << c.before << " then " << c.flag;
    }
}

}  // namespace
}  // namespace rubicel
