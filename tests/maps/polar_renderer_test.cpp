// SPDX-License-Identifier: MIT
// polar_renderer_test.cpp: polar maps show the samples worked out by hand, read out, redraw at a Resolution step.
#include "maps/polar_renderer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "maps/pointer_readout.h"
#include "maps/relief_kernel.h"
#include "maps/render_fixture.h"
#include "windows/drag_box.h"
#include "windows/main_window.h"
#include "windows/resolution_menu.h"

namespace rubicel {
namespace {

class PolarRendererTest : public test::RenderFixture {
protected:
    void drawPolar(std::int16_t pole, std::int16_t limit, std::int16_t step) {
        p.map.areaclass = kPolarMap;
        p.map.mapsource = kFromPolar;
        p.map.polarpole = pole;
        p.map.polarlimit = limit;
        p.map.resolution = step;
        Drawpolar(p);
    }
};

// Pixel (x, y): the tile, record and column of its sample, or no sample (tile
// -1). North to 60° at step 4: n = 492, p = 3704.67 m; south to 60° at step 8:
// n = 246. The pole lies at the corner of the four middle pixels.
struct Expected {
    int x, y, tile, record, column;
};

TEST_F(PolarRendererTest, PixelsShowTheSampleAtTheirCentreAndTheReadOutNamesIt) {
    const struct {
        const char* name;
        std::int16_t pole, step;
        int side;
        std::vector<Expected> pixels;
    } cases[] = {
        {"north",
         1,
         4,
         984,
         {{492, 492, 2, 3, 2880},      // beside the pole, 45° east
          {492, 700, 2, 831, 8},       // down the 0° meridian
          {800, 492, 2, 1223, 5754},   // right, just short of 90°
          {492, 200, 2, 1157, 11513},  // up, just short of 180°
          {491, 200, 3, 1157, 6},      // and just past it, in the other tile
          {100, 491, 3, 1543, 5755},   // left, just short of 270°
          {982, 491, 2, 1918, 5763},   // on the limit circle
          {491, 1, 3, 1918, 3},
          {983, 491, -1, 0, 0},        // beyond it
          {491, 0, -1, 0, 0},
          {0, 0, -1, 0, 0}}},
        {"south",
         -1,
         8,
         492,
         {{246, 246, 0, 5755, 8640},   // beside the pole, 135° east
          {245, 245, 1, 5755, 8640},   // 315° east
          {246, 100, 0, 4606, 12},     // up the 0° meridian
          {400, 246, 0, 4536, 5771},   // right, just past 90°
          {50, 245, 1, 4220, 5769},    // left, just past 270°
          {245, 491, 1, 3842, 7},      // the bottom row, on the limit circle at 180°
          {491, 491, -1, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Expected& e : c.pixels)
            if (e.tile >= 0) writeRecords(e.tile, {e.record});
        drawPolar(c.pole, 60, c.step);
        ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text;
        ASSERT_EQ(p.dmap.image.width(), c.side);
        ASSERT_EQ(p.dmap.image.height(), c.side);
        for (const Expected& e : c.pixels) {
            const auto reading = p.readout.read(p.dmap, e.x, e.y);
            if (e.tile < 0) {
                EXPECT_EQ(p.dmap.image.pixel(e.x, e.y), kPictureBackground) << e.x << "," << e.y;
                EXPECT_FALSE(reading) << e.x << "," << e.y;
                continue;
            }
            expectPixel(e.x, e.y, e.tile, e.record, e.column);
            ASSERT_TRUE(reading) << e.x << "," << e.y;
            EXPECT_EQ((std::array{reading->sample.tile, reading->sample.record, reading->sample.column}),
                      (std::array{e.tile, e.record, e.column}));
            EXPECT_EQ(reading->elevation, elevation(e.tile, e.record, e.column));
        }
    }
    drawPolar(1, 60, 4);
    EXPECT_EQ(readoutText(*p.readout.read(p.dmap, 491, 200)), "71.93°N  179.90°W (180.10°E)   5 000 m");
    // A drag over a polar map draws nothing.
    EXPECT_FALSE(dmap_DragAllowed(p));
    EXPECT_FALSE(dragLimits(p.dmap, 400, 400, 600, 600));
}

// The North Polar Region item in an 800 x 600 window: step 8 (492 pixels square
// fits, 984 does not), the check mark on "12.5%"; "25%" redraws it at step 4,
// "Terminate Drawing Mode" stops it.
TEST_F(PolarRendererTest, TheMenuItemPicksItsStepAndTheResolutionItemsRedrawIt) {
    EXPECT_EQ(automaticPolarStep(60, 984, 2000), 4);
    EXPECT_EQ(automaticPolarStep(60, 4000, 3932), 1);
    EXPECT_EQ(automaticPolarStep(1, 800, 600), 24);
    writeRecords(2, {3, 6});
    ui.client = {800 * kTwipsPerPixel, 600 * kTwipsPerPixel};
    m_tile_Click(p, 8);
    EXPECT_EQ(p.map.resolution, 8);
    EXPECT_TRUE(ui.checked(MenuControl::m_siz, 3));
    EXPECT_EQ(p.dmap.image.width(), 492);
    expectPixel(246, 246, 2, 6, 2880);

    m_siz_Click(p, 4);
    EXPECT_EQ(p.map.resolution, 4);
    EXPECT_TRUE(ui.checked(MenuControl::m_siz, 4));
    EXPECT_EQ(p.dmap.image.width(), 984);
    expectPixel(492, 492, 2, 3, 2880);

    ui.onYield = [this, start = ui.yields](int yields) {
        if (yields == start + 10) m_terminate_Click(p);
    };
    m_siz_Click(p, 2);
    EXPECT_EQ(p.map.stopflag, 0);
    EXPECT_EQ(p.dmap.shows.rows, 10);
    EXPECT_FALSE(anyFileOpen());
}

// With relief shading on, a row is shaded from the elevations its pixels and
// those of the rows above and below show, 3704.67 map metres apart both ways,
// which are 3704.67 / k ground metres at a pixel of latitude phi, k = 2 / (1 +
// sin phi) (about 1.07 here, near 60°N); the pixels beyond the circle are
// neither shaded nor slopes. Rows 9 to 11 read records 1883 to 1921.
TEST_F(PolarRendererTest, ReliefShadingTakesTheGroundSpacingOfEachPixel) {
    for (int t : {2, 3})
        for (int k = 1870; k <= 1921; ++k)
            test::writeRecord(tiles[std::size_t(t)], k, [t, k](int c) { return elevation(t, k, c) + c % 97 * 3; });
    drawPolar(1, 60, 4);
    const Raster plain = p.dmap.image;
    p.relief = {true, 315, 45, 10, 0.7};
    drawPolar(1, 60, 4);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text;

    constexpr int kWidth = 984, kRow = 10;
    std::array<std::vector<float>, 3> heights;
    std::array<std::vector<std::uint8_t>, 3> shown;
    for (int r = 0; r < 3; ++r) {
        heights[std::size_t(r)].assign(kWidth + 2, 0);
        shown[std::size_t(r)].assign(kWidth + 2, 0);
        for (int x = 0; x < kWidth; ++x)
            if (const auto reading = p.readout.read(p.dmap, x, kRow - 1 + r)) {
                heights[std::size_t(r)][std::size_t(x + 1)] = reading->elevation;
                shown[std::size_t(r)][std::size_t(x + 1)] = 1;
            }
    }
    const double spacing = 3704.6685952066387, radius = 3396190.0;
    std::vector<float> scales(kWidth);
    for (int x = 0; x < kWidth; ++x) {
        const double mapX = (x + 0.5 - kWidth / 2) * spacing, mapY = (kWidth / 2 - kRow - 0.5) * spacing;
        const double latitude = std::numbers::pi / 2 - 2 * std::atan(std::hypot(mapX, mapY) / (2 * radius));
        scales[std::size_t(x)] = float(2 / (1 + std::sin(latitude)));
    }
    std::vector<std::uint32_t> expected(plain.row(kRow), plain.row(kRow) + kWidth), mapMetres = expected;
    shadeReliefRowExactly(reliefLight(p.relief), heights[0].data() + 1, heights[1].data() + 1,
                          heights[2].data() + 1, shown[0].data() + 1, shown[1].data() + 1, shown[2].data() + 1,
                          kWidth, spacing, spacing, expected.data(), scales.data());
    shadeReliefRowExactly(reliefLight(p.relief), heights[0].data() + 1, heights[1].data() + 1,
                          heights[2].data() + 1, shown[0].data() + 1, shown[1].data() + 1, shown[2].data() + 1,
                          kWidth, spacing, spacing, mapMetres.data());
    int lit = 0, scaled = 0;
    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(p.dmap.image.pixel(x, kRow), expected[std::size_t(x)]) << x;
        lit += p.dmap.image.pixel(x, kRow) != plain.pixel(x, kRow);
        scaled += expected[std::size_t(x)] != mapMetres[std::size_t(x)];
    }
    EXPECT_GT(lit, 50);
    EXPECT_GT(scaled, 10) << "the scale changes the light of many pixels";
    EXPECT_EQ(p.dmap.image.pixel(0, 0), kPictureBackground);
}

}  // namespace
}  // namespace rubicel
