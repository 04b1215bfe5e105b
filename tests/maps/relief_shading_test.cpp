// SPDX-License-Identifier: MIT
// relief_shading_test.cpp: relief shading on sparse tiles: tilted planes, level ground, edges, a stopped drawing.
#include "maps/relief_shading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "maps/area_renderer.h"
#include "render_fixture.h"

namespace rubicel {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// A 1° box at 45-46°N, 10-11°E, drawn at step 1 into 64 x 64 pixels: 63 rows
// from records 2817..2879 and columns 640..703 of the north-east tile, which
// hold a plane.
class ReliefShading : public test::RenderFixture {
protected:
    static constexpr int kFirstRecord = 2817, kFirstColumn = 640, kSize = 64, kRows = 63;

    void writePlane(int east, int south) {
        for (int k = kFirstRecord; k < kFirstRecord + kSize; ++k)
            test::writeRecord(tiles[2], k, [=](int c) {
                return std::int16_t(1000 + east * (c - kFirstColumn) + south * (k - kFirstRecord));
            });
        east_ = east;
        south_ = south;
    }
    void draw() {
        p.map.areaclass = kAreaMap;
        p.map.mapsource = kFromArea;
        p.map.resolution = 1;
        mapfromtile(p, 10, 46, 11, 45);
        ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text;
        ASSERT_EQ(p.dmap.image.width(), kSize);
        ASSERT_EQ(p.dmap.image.height(), kSize);
    }
    std::int16_t planeAt(int x, int y) const { return std::int16_t(1000 + east_ * x + south_ * y); }

    // The factor worked out for the plane at pixel (x, y): the gradient of a
    // plane is its slope per pixel over the spacing, half of it where a
    // neighbour is clamped at the picture's edge; then the light on the normal.
    double expectedFactor(int x, int y) const {
        const double dy = 3396190.0 * std::numbers::pi / (180.0 * 64.0);
        const double latitude = 90.0 - (kFirstRecord + y - 0.5) / 64.0;
        const double dx = dy * std::cos(latitude * kDegree);
        const double edgeX = (x == 0 || x == kSize - 1) ? 0.5 : 1.0;
        const double edgeY = (y == 0 || y == kRows - 1) ? 0.5 : 1.0;
        const double gx = edgeX * east_ / dx;
        const double gy = -edgeY * south_ / dy;  // north minus south
        const ReliefSettings& s = p.relief;
        const double z = s.exaggeration, A = s.azimuth * kDegree, H = s.altitude * kDegree;
        const double light = (-z * gx * std::sin(A) * std::cos(H) - z * gy * std::cos(A) * std::cos(H) + std::sin(H)) /
                             std::sqrt(1 + z * z * (gx * gx + gy * gy));
        return (1 - s.strength) + s.strength * std::max(0.0, light) / std::sin(H);
    }
    // Checks that every channel of pixel (x, y) is its unshaded colour times
    // factor, capped at 255 and rounded.
    void expectShaded(int x, int y, double factor) {
        const std::uint32_t plain = colourOf(planeAt(x, y)), lit = p.dmap.image.pixel(x, y);
        const int channels[3][2] = {{redOf(plain), redOf(lit)}, {greenOf(plain), greenOf(lit)},
                                    {blueOf(plain), blueOf(lit)}};
        for (const auto& [c, out] : channels)
            EXPECT_NEAR(out, std::min(255.0, c * factor), 0.5 + 1e-9) << "pixel " << x << "," << y;
    }

    int east_ = 0, south_ = 0;
};

TEST_F(ReliefShading, PlanesGiveTheFactorOfTheirSlope) {
    const struct {
        const char* name;
        double azimuth, altitude, exaggeration, strength;
        int east, south;  // metres per pixel
        double interior;  // the factor worked out by hand inside the picture
    } cases[] = {
        // Rising east at 45° under z (the plane faces the sun in the west, 45°
        // high): n.s = 1, f = 1 / sin 45° = sqrt 2.
        {"facing a western sun", 270, 45, 0, 1, 3, 0, std::numbers::sqrt2},
        {"turned away from it", 90, 45, 0, 1, 3, 0, 0.0},
        {"half strength, sun in the north", 0, 45, 0, 0.5, 0, 3, 0.5 + 0.5 * std::numbers::sqrt2},
        {"defaults, rising south-east", 315, 45, 10, 0.7, 2, 2, -1},
        {"defaults, falling south-east", 315, 45, 10, 0.7, -2, -2, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writePlane(c.east, c.south);
        // z sets the 45° slope: z x (metres per pixel) / dx = 1 at the box's middle row.
        const double dy = 3396190.0 * std::numbers::pi / (180.0 * 64.0);
        const double middle = dy * std::cos((90.0 - (kFirstRecord + 31.5) / 64.0) * kDegree);
        const double z = c.exaggeration > 0 ? c.exaggeration : (c.east != 0 ? middle : dy) / 3.0;
        p.relief = {true, c.azimuth, c.altitude, z, c.strength};
        draw();
        if (c.interior >= 0) {
            EXPECT_NEAR(expectedFactor(20, 32), c.interior, 0.02);
        }
        for (const auto& [x, y] : {std::pair{20, 32}, {0, 10}, {63, 40}, {30, 0}, {5, 62}, {0, 0}, {63, 62}})
            expectShaded(x, y, expectedFactor(x, y));
    }
}

TEST_F(ReliefShading, LevelGroundAndTheOffSwitchKeepEveryColour) {
    writePlane(0, 0);
    p.relief.on = true;
    draw();
    const Raster shaded = p.dmap.image;
    p.relief.on = false;
    draw();
    EXPECT_EQ(shaded.width(), p.dmap.image.width());
    EXPECT_TRUE(std::equal(shaded.data(), shaded.data() + kSize * kSize, p.dmap.image.data()));
    EXPECT_EQ(p.dmap.image.pixel(7, 7), colourOf(1000));
}

TEST_F(ReliefShading, AStoppedDrawingLeavesItsLastRowUnshaded) {
    writePlane(5, 0);
    p.relief = {true, 270, 45, 10, 1};
    ui.onYield = [this](int n) {
        if (n == 3) p.map.stopflag = 1;
    };
    draw();
    for (int x : {0, 30, 63}) {
        expectShaded(x, 1, expectedFactor(x, 1));
        EXPECT_EQ(p.dmap.image.pixel(x, 2), colourOf(planeAt(x, 2)));
        EXPECT_EQ(p.dmap.image.pixel(x, 3), kPictureBackground);
    }
}

// A pixel that shows no sample is left alone, and as a neighbour it counts as
// the pixel itself.
TEST(ReliefKernel, PixelsThatShowNoSample) {
    const ReliefLight light = reliefLight({true, 270, 45, 1, 1});
    const std::int16_t above[] = {0, 0, 0, 0, 0}, row[] = {0, 0, 7, 5, 0}, below[] = {0, 0, 0, 0, 0};
    const std::uint8_t none[] = {0, 0, 0, 0, 0}, shown[] = {0, 1, 1, 0, 0};
    std::uint32_t pixels[] = {packRgb(100, 100, 100), packRgb(100, 100, 100), packRgb(100, 100, 100)};
    shadeReliefRowMasked(light, above + 1, row + 1, below + 1, none + 1, shown + 1, none + 1, 3, 1.0, 1.0,
                         pixels);
    // Rows above and below show nothing, so they count as each pixel itself.
    // Pixel 0 (elevation 0) has 7 to its east and itself to the west; pixel 1
    // (7) has 0 to its west and itself in place of the 5 east of it. Both rise
    // east, toward the western sun: gx = 2 x 7 / 8 (the 5 would give 6 / 8).
    const auto lit = [&](double gx) {
        const double n = (gx * std::cos(45 * kDegree) + std::sin(45 * kDegree)) / std::sqrt(1 + gx * gx);
        return int(std::nearbyint(std::min(255.0, 100 * std::max(0.0, n) / std::sin(45 * kDegree))));
    };
    EXPECT_EQ(pixels[0], packRgb(lit(14.0 / 8), lit(14.0 / 8), lit(14.0 / 8)));
    EXPECT_EQ(pixels[1], pixels[0]);
    EXPECT_EQ(pixels[2], packRgb(100, 100, 100));
}

}  // namespace
}  // namespace rubicel
