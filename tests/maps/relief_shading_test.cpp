// SPDX-License-Identifier: MIT
// relief_shading_test.cpp: relief shading on sparse tiles: tilted planes, level ground, edges, a stopped drawing.
#include "maps/relief_kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

#include "maps/area_renderer.h"
#include "maps/tile_renderer.h"
#include "windows/help_menu.h"
#include "render_fixture.h"

namespace rubicel {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kRowSpacing = 3396190.0 * std::numbers::pi / (180.0 * 64.0);  // metres at step 1

// A 1° box at 45-46°N, 10-11°E, drawn at step 1 into 64 x 64 pixels: 63 rows
// from records 2817..2879, columns 640..703 of the north-east tile, holding a
// plane that rises east and south metres per pixel.
class ReliefShading : public test::RenderFixture {
protected:
    static constexpr int kFirstRecord = 2817, kSize = 64, kRows = 63;

    void drawPlane(int east, int south, std::function<void(int)> onYield = {}) {
        east_ = east;
        south_ = south;
        for (int k = kFirstRecord; k < kFirstRecord + kSize; ++k)
            test::writeRecord(tiles[2], k, [=, this](int c) { return planeAt(c - 640, k - kFirstRecord); });
        ui.onYield = std::move(onYield);
        ui.yields = 0;
        p.map.resolution = 1;
        mapfromtile(p, 10, 46, 11, 45);
        ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text;
        ASSERT_EQ(p.dmap.image.width(), kSize);
    }
    std::int16_t planeAt(int x, int y) const { return std::int16_t(1000 + east_ * x + south_ * y); }
    static double columnSpacing(double y) { return kRowSpacing * std::cos((90 - (kFirstRecord + y - 0.5) / 64) * kDegree); }

    // The factor worked out for the plane at pixel (x, y): its slope per pixel
    // over the spacing, half of it where a neighbour is clamped at the edge.
    double expectedFactor(int x, int y) const {
        const double gx = (x == 0 || x == kSize - 1 ? 0.5 : 1.0) * east_ / columnSpacing(y);
        const double gy = -(y == 0 || y == kRows - 1 ? 0.5 : 1.0) * south_ / kRowSpacing;  // north minus south
        const ReliefSettings& s = p.relief;
        const double z = s.exaggeration, A = s.azimuth * kDegree, H = s.altitude * kDegree;
        const double light = (-z * gx * std::sin(A) * std::cos(H) - z * gy * std::cos(A) * std::cos(H) + std::sin(H)) /
                             std::sqrt(1 + z * z * (gx * gx + gy * gy));
        return (1 - s.strength) + s.strength * std::max(0.0, light) / std::sin(H);
    }
    // Checks each channel of pixel (x, y): its unshaded colour times factor, capped at 255, rounded.
    void expectShaded(int x, int y, double factor) {
        const std::uint32_t plain = colourOf(planeAt(x, y)), lit = p.dmap.image.pixel(x, y);
        for (const int shift : {16, 8, 0})
            EXPECT_NEAR(int(lit >> shift & 0xFF), std::min(255.0, int(plain >> shift & 0xFF) * factor), 0.5 + 1e-9)
                << "pixel " << x << "," << y;
    }

    int east_ = 0, south_ = 0;
};

TEST_F(ReliefShading, PlanesGiveTheFactorOfTheirSlope) {
    const struct {
        const char* name;
        double azimuth, altitude, exaggeration, strength;
        int east, south;
        double interior;  // worked out by hand, -1: not
    } cases[] = {
        // Exaggerated to 45° (z x slope = 1) and facing the sun, 45° high:
        // n.s = 1, f = 1 / sin 45°; turned away from it, n.s = 0.
        {"rising east, sun in the west", 270, 45, 0, 1, 3, 0, std::numbers::sqrt2},
        {"rising east, sun in the east", 90, 45, 0, 1, 3, 0, 0.0},
        {"half strength, falling north, sun in the north", 0, 45, 0, 0.5, 0, 3, 0.5 + 0.5 * std::numbers::sqrt2},
        {"defaults, rising south-east", 315, 45, 10, 0.7, 2, 2, -1},
        {"defaults, falling south-east", 315, 45, 10, 0.7, -2, -2, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double z = c.exaggeration > 0 ? c.exaggeration : (c.east ? columnSpacing(31.5) : kRowSpacing) / 3;
        p.relief = {true, c.azimuth, c.altitude, z, c.strength};
        drawPlane(c.east, c.south);
        if (c.interior >= 0) {
            EXPECT_NEAR(expectedFactor(20, 32), c.interior, 0.02);
        }
        for (const auto& [x, y] : {std::pair{20, 32}, {0, 10}, {63, 40}, {30, 0}, {5, 62}, {0, 0}, {63, 62}})
            expectShaded(x, y, expectedFactor(x, y));
        EXPECT_EQ(p.dmap.image.pixel(5, 63), kPictureBackground);  // no sample: left alone
    }
}

TEST_F(ReliefShading, LevelGroundKeepsItsColourAndAStopLeavesTheLastRowUnshaded) {
    p.relief.on = true;
    drawPlane(0, 0);
    const Raster level = p.dmap.image;
    p.relief.on = false;
    drawPlane(0, 0);
    EXPECT_TRUE(std::equal(level.data(), level.data() + kSize * kSize, p.dmap.image.data()));

    p.relief = {true, 270, 45, 10, 1};
    p.dmap.image.fill(kPictureBackground);  // a redraw of the same size keeps the earlier pixels
    drawPlane(5, 0, [this](int n) { p.map.stopflag = n == 3 ? 1 : 0; });
    for (int x : {0, 30, 63}) {
        expectShaded(x, 1, expectedFactor(x, 1));
        EXPECT_EQ(p.dmap.image.pixel(x, 2), colourOf(planeAt(x, 2)));
        EXPECT_EQ(p.dmap.image.pixel(x, 3), kPictureBackground);
    }
}

// Where the rendering's yields leave the picture alone (they run nothing but
// a progress read-out, as in rubicel-render), each row but the last is handed
// to a second thread while the next is drawn: over rough ground, a whole tile
// and an area give the picture the drawing gives when it shades every row
// itself, as it does when a yield may run a handler.
TEST_F(ReliefShading, TheSecondThreadGivesThePixelsOfTheDrawingItself) {
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one processor: no second thread";
    std::mt19937 noise(20);
    const auto rough = [&noise](int) { return std::int16_t(int(noise() % 4000) - 1000); };
    for (int k = 1; k < 5760; k += 13) test::writeRecord(tiles[3], k, rough);
    for (int k = 2817; k <= 3200; ++k) test::writeRecord(tiles[2], k, rough);
    const struct {
        const char* name;
        std::function<void()> draw;
    } cases[] = {
        {"whole tile at step 13",
         [this] {
             p.map.mapsource = kFromTile;
             p.map.areaclass = kSingleTile;
             p.map.tilefile = tiles[3].string();
             p.map.resolution = 13;
             Drawtile(p);
         }},
        {"area at step 1",
         [this] {
             p.map.mapsource = kFromArea;
             p.map.areaclass = kAreaMap;
             p.map.resolution = 1;
             mapfromtile(p, 0, 46, 10, 41);
         }},
    };
    p.relief.on = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.onProgress = nullptr;
        ui.onYield = [](int) {};
        c.draw();  // sized
        p.dmap.image.fill(kPictureBackground);  // a redraw of the same size keeps the earlier pixels
        c.draw();
        ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text;
        EXPECT_EQ(p.reliefRows.helpedRows(), 0);
        const Raster itself = p.dmap.image;
        ui.onYield = nullptr;
        int progress = 0;
        ui.onProgress = [&progress](int n) { progress = n; };
        p.dmap.image.fill(kPictureBackground);
        c.draw();
        ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text;
        EXPECT_EQ(progress, ui.yields);
        EXPECT_EQ(p.reliefRows.helpedRows(), std::min(p.dmap.shows.rows, itself.height()) - 1)
            << "every row but the last was handed over";
        ASSERT_GE(itself.width(), 512);
        ASSERT_EQ(p.dmap.image.width(), itself.width());
        ASSERT_EQ(p.dmap.image.height(), itself.height());
        const std::size_t pixels = std::size_t(itself.width()) * std::size_t(itself.height());
        EXPECT_TRUE(std::equal(itself.data(), itself.data() + pixels, p.dmap.image.data()));
    }
}

// A picture replaced while a shaded map is drawn (Help > Annotated Map of Mars,
// 1024 pixels wide, over a map of 426 that crosses 180°) ends the drawing
// before its next row: the new picture is left as it came, and nothing is
// written past the shading stage's rows.
TEST_F(ReliefShading, APictureReplacedDuringTheDrawingEndsItBeforeItsNextRow) {
    ui.annotatedMapPicture.reset(1024, 397, packRgb(10, 20, 30));
    p.relief.on = true;
    p.map.mapsource = kFromArea;
    p.map.areaclass = kAreaMap;
    p.map.resolution = 3;
    ui.onYield = [this](int n) {
        if (n == 3) m_h_Click(p, 3);
    };
    mapfromtile(p, 170, 40, 190, 20);
    EXPECT_EQ(ui.yields, 3);
    ASSERT_EQ(p.dmap.image.width(), 1024);
    ASSERT_EQ(p.dmap.image.height(), 397);
    EXPECT_TRUE(std::equal(p.dmap.image.data(), p.dmap.image.data() + 1024 * 397, ui.annotatedMapPicture.data()));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    EXPECT_FALSE(anyFileOpen());
    EXPECT_FALSE(ui.busyPointer);
}

// A pixel that shows no sample is left alone, and as a neighbour it counts as the pixel itself.
TEST(ReliefKernel, PixelsThatShowNoSample) {
    const float level[] = {0, 0, 0, 0, 0}, row[] = {0, 0, 7, 5, 0};
    const std::uint8_t none[] = {0, 0, 0, 0, 0}, shown[] = {0, 1, 1, 0, 0};
    const std::uint32_t grey = packRgb(100, 100, 100);
    std::uint32_t pixels[] = {grey, grey, grey};
    shadeReliefRowMasked(reliefLight({true, 270, 45, 1, 1}), level + 1, row + 1, level + 1, none + 1, shown + 1,
                         none + 1, 3, 1.0, 1.0, pixels);
    // Pixel 0 (0) has 7 east of it and itself west; pixel 1 (7) has 0 west and
    // itself for the 5 east. Both rise east toward the western sun: gx = 14 / 8.
    const double gx = 14.0 / 8, n = (gx * std::cos(45 * kDegree) + std::sin(45 * kDegree)) / std::sqrt(1 + gx * gx);
    const int lit = int(std::nearbyint(100 * n / std::sin(45 * kDegree)));
    EXPECT_EQ(pixels[0], packRgb(lit, lit, lit));
    EXPECT_EQ(pixels[1], pixels[0]);
    EXPECT_EQ(pixels[2], grey);
}

// Level ground keeps its colour at the ends of every range the settings check
// accepts, in every loop the processor runs and in double precision, on the
// widest and the narrowest columns a map has; just beyond the ends is refused.
TEST(ReliefKernel, LevelGroundKeepsItsColourAtTheEndsOfEveryRange) {
    using S = ReliefSettings;
    const double huge = std::numeric_limits<double>::max(), tiny = std::numeric_limits<double>::denorm_min();
    EXPECT_FALSE(validRelief({true, 0, std::nextafter(S::kLowestAltitude, 0.0), 1, 1}));
    EXPECT_FALSE(validRelief({true, 0, std::nextafter(S::kHighestAltitude, 91.0), 1, 1}));
    EXPECT_FALSE(validRelief({true, 0, 45, std::nextafter(S::kHighestExaggeration, huge), 1}));
    EXPECT_FALSE(validRelief({true, 0, 45, 0, 1}));
    constexpr int kWidth = 300;
    const std::vector<float> level(kWidth + 2, 1000.0f);
    std::vector<std::uint32_t> colours(kWidth);
    for (int x = 0; x < kWidth; ++x) colours[std::size_t(x)] = packRgb(x % 256, 255 - x % 256, x * 7 % 256);
    const double dy = kRowSpacing;
    for (const double azimuth : {-huge, 315.0, huge})
        for (const double altitude : {S::kLowestAltitude, S::kHighestAltitude})
            for (const double exaggeration : {tiny, S::kHighestExaggeration})
                for (const double strength : {0.0, 0.7, 1.0})
                    for (const double dx : {dy * std::cos(89.99 * kDegree), 24 * dy}) {
                        const ReliefSettings s{true, azimuth, altitude, exaggeration, strength};
                        SCOPED_TRACE(::testing::Message() << azimuth << " " << altitude << " " << exaggeration
                                                          << " " << strength << " " << dx);
                        ASSERT_TRUE(validRelief(s));
                        const ReliefLight light = reliefLight(s);
                        auto exact = colours;
                        shadeReliefRowExactly(light, level.data() + 1, level.data() + 1, level.data() + 1, nullptr,
                                              nullptr, nullptr, kWidth, dx, dy, exact.data());
                        EXPECT_EQ(exact, colours);
                        for (const ReliefLoop loop : {ReliefLoop::Portable, ReliefLoop::Avx2, ReliefLoop::Avx512}) {
                            if (!reliefLoopRuns(loop)) continue;
                            auto fast = colours;
                            shadeReliefRow(light, level.data() + 1, level.data() + 1, level.data() + 1, kWidth, dx,
                                           dy, fast.data(), loop);
                            EXPECT_EQ(fast, colours) << "loop " << int(loop);
                        }
                    }
}

// The row kernels work in single precision: over rough and smooth ground,
// widths that are not whole chunks, lights single precision can and cannot
// hold, masked rows, and masked rows whose spacing changes from pixel to pixel
// (a polar map's scale, 1 at the pole to 2 at the equator, nearly 3 in a
// picture's corners), every loop the processor runs must give each pixel as
// double precision does.
TEST(ReliefKernel, GivesThePixelsOfDoublePrecision) {
    const struct {
        const char* name;
        ReliefSettings light;
        int amplitude;  // of the noise on the slopes, metres
    } cases[] = {
        {"defaults", {true, 315, 45, 10, 0.7}, 40},
        {"low sun, full strength", {true, 100, 5, 3, 1}, 400},
        {"overhead sun, steep", {true, 0, 90, 50, 0.5}, 20000},
        {"faint exaggeration", {true, 200, 30, 1e-7, 0.9}, 40},
        {"sun on the horizon", {true, 45, 0.05, 10, 1}, 40},
    };
    constexpr int kWidth = 1003, kRows = 12;
    std::mt19937 random(7);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::vector<float>> rows(kRows, std::vector<float>(kWidth + 2));
        std::vector<std::vector<std::uint8_t>> shown(kRows, std::vector<std::uint8_t>(kWidth + 2));
        for (int r = 0; r < kRows; ++r)
            for (int x = 0; x < kWidth + 2; ++x) {
                const double ground = 3000 * std::sin(x * 0.01 + r * 0.3) + 700 * std::cos(x * 0.13 - r);
                rows[r][x] = float(std::clamp(std::round(ground) + int(random() % (2 * c.amplitude + 1)) - c.amplitude,
                                              -32768.0, 32767.0));
                shown[r][x] = random() % 8 != 0;
            }
        std::vector<std::vector<float>> scales(kRows, std::vector<float>(kWidth));
        for (auto& row : scales)
            for (float& scale : row) scale = float(1.0 + double(random() % 100000) / 50000.0);
        std::vector<std::uint32_t> colours(kWidth);
        for (auto& colour : colours) colour = 0xFF000000u | (random() & 0xFFFFFF);
        const ReliefLight light = reliefLight(c.light);
        for (int r = 1; r + 1 < kRows; ++r) {
            const double dx = 900.0 * (r / double(kRows)), dy = 926.0;
            const float *above = rows[r - 1].data() + 1, *row = rows[r].data() + 1, *below = rows[r + 1].data() + 1;
            const std::uint8_t *shownAbove = shown[r - 1].data() + 1, *shownHere = shown[r].data() + 1,
                               *shownBelow = shown[r + 1].data() + 1;
            auto exact = colours, fastMasked = colours, exactMasked = colours;
            shadeReliefRowExactly(light, above, row, below, nullptr, nullptr, nullptr, kWidth, dx, dy, exact.data());
            for (const ReliefLoop loop : {ReliefLoop::Portable, ReliefLoop::Avx2, ReliefLoop::Avx512}) {
                if (!reliefLoopRuns(loop)) continue;
                auto fast = colours;
                shadeReliefRow(light, above, row, below, kWidth, dx, dy, fast.data(), loop);
                for (int x = 0; x < kWidth; ++x)
                    ASSERT_EQ(fast[x], exact[x]) << "loop " << int(loop) << ", row " << r << ", pixel " << x;
            }
            shadeReliefRowMasked(light, above, row, below, shownAbove, shownHere, shownBelow, kWidth, dx, dy,
                                 fastMasked.data());
            shadeReliefRowExactly(light, above, row, below, shownAbove, shownHere, shownBelow, kWidth, dx, dy,
                                  exactMasked.data());
            for (int x = 0; x < kWidth; ++x)
                ASSERT_EQ(fastMasked[x], exactMasked[x]) << "masked row " << r << ", pixel " << x;
            auto fastScaled = colours, exactScaled = colours;
            shadeReliefRowMasked(light, above, row, below, shownAbove, shownHere, shownBelow, kWidth, dx, dy,
                                 fastScaled.data(), scales[r].data());
            shadeReliefRowExactly(light, above, row, below, shownAbove, shownHere, shownBelow, kWidth, dx, dy,
                                  exactScaled.data(), scales[r].data());
            for (int x = 0; x < kWidth; ++x)
                ASSERT_EQ(fastScaled[x], exactScaled[x]) << "scaled row " << r << ", pixel " << x;
            // A ground metre of two map metres: the pixels of half the spacing both ways.
            const std::vector<float> two(kWidth, 2.0f);
            auto doubled = colours, halved = colours;
            shadeReliefRowMasked(light, above, row, below, shownAbove, shownHere, shownBelow, kWidth, dx, dy,
                                 doubled.data(), two.data());
            shadeReliefRowExactly(light, above, row, below, shownAbove, shownHere, shownBelow, kWidth, dx / 2,
                                  dy / 2, halved.data());
            ASSERT_EQ(doubled, halved) << "row " << r;
            if (c.light.exaggeration > 1e-3 && c.light.altitude > 1) {  // a sun on the horizon makes every slope dark
                EXPECT_FALSE(exactScaled == exactMasked) << "row " << r << ": the scales change nothing";
            }
            if (c.light.exaggeration > 1e-3) {
                EXPECT_FALSE(exact == colours) << "row " << r << " unshaded";
            }
        }
    }
}

// The elevations the rows are shaded by, at every step and with runs that end
// anywhere in a vector: each as the sample decodes one by one.
TEST(ReliefKernel, DecodesTheElevationsOfSpreadSamples) {
    std::vector<std::int16_t> stored(4000);
    std::mt19937 random(3);
    for (auto& sample : stored) sample = std::int16_t(random());
    for (const int step : {1, 2, 3, 4, 5})
        for (const int count : {1, 15, 16, 17, 100, 3999 / step}) {
            std::vector<float> decoded(std::size_t(count), -1);
            decodeElevations(stored.data(), step, count, decoded.data());
            for (int i = 0; i < count; ++i) {
                const auto* bytes = reinterpret_cast<const unsigned char*>(&stored[std::size_t(i * step)]);
                ASSERT_EQ(decoded[std::size_t(i)], float(std::int16_t(std::uint16_t(bytes[0] << 8 | bytes[1]))))
                    << "step " << step << ", count " << count << ", sample " << i;
            }
        }
}

}  // namespace
}  // namespace rubicel
