// SPDX-License-Identifier: MIT
// explore_test.cpp: wheel zoom about the pointer, moving the view by keys, back and forward.
#include "windows/explore.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "maps/area_renderer.h"
#include "maps/drawn_map.h"
#include "maps/map_state.h"
#include "maps/polar_renderer.h"
#include "maps/render_fixture.h"
#include "support/address_sanitizer.h"
#include "windows/main_window.h"
#include "windows/map_history.h"

namespace rubicel {
namespace {

using Box = std::array<std::int16_t, 4>;

class ExploreTest : public test::RenderFixture {
protected:
    void drawArea(Box box, std::int16_t step) {
        p.map.areaclass = kAreaMap;
        p.map.mapsource = kFromArea;
        p.map.resolution = step;
        mapfromtile(p, box[0], box[1], box[2], box[3]);
    }
    std::vector<int> checkedStep() const { return ui.checkedIndexes(MenuControl::m_siz); }
};

// The box fills the window (800 x 600 pixels) at the new step and keeps the
// sample under the pointer there, to within the whole-degree rounding.
TEST_F(ExploreTest, WheelZoomsAboutThePointer) {
    const struct {
        const char* name;
        Box from;
        std::int16_t step;
        int x, y, notches;
        Box box;
        std::int16_t newStep;
    } cases[] = {
        // Column 11479 of the north-east tile, record 3601: 179.37°E 33.74°N.
        {"in near 180", {170, 40, 190, 20}, 4, 150, 100, 1, {172, 38, 210, 10}, 3},
        // 19.38°W 81.74°N: the box would reach 94°N and is moved down.
        {"out near the north pole", {-20, 88, 20, 60}, 4, 10, 100, -1, {-21, 90, 79, 15}, 8},
        {"out near the south pole", {-20, -60, 20, -88}, 4, 10, 100, -1, {-21, -15, 79, -90}, 8},
        // At step 24 the window spans 300°: still an area map, the planet's height.
        {"out to step 24", {-20, 40, 20, 20}, 13, 10, 10, -1, {0, 90, 300, -90}, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drawArea(c.from, c.step);
        const auto before = pixelSample(p.dmap, c.x, c.y);
        ASSERT_TRUE(before);
        dmap_Wheel(p, c.notches, float(c.x) + 0.5f, float(c.y) + 0.5f);
        EXPECT_EQ(p.map.maparea, c.box);
        EXPECT_EQ(p.map.resolution, c.newStep);
        EXPECT_EQ(p.map.areaclass, kAreaMap);
        EXPECT_EQ(checkedStep(), std::vector<int>{resolutionIndexOf(c.newStep)});
        if (c.box[1] != 90 && c.box[3] != -90 && c.box[2] - c.box[0] <= 180) {
            const auto after = pixelSample(p.dmap, c.x, c.y);
            ASSERT_TRUE(after);
            EXPECT_NEAR(after->longitude, before->longitude, 0.5 + c.newStep / 64.0);
            EXPECT_NEAR(after->latitude, before->latitude, 0.5 + c.newStep / 64.0);
        }
    }

    // Zooming in at step 1 does nothing; out of step 24 gives the whole planet.
    drawArea({0, 10, 10, 0}, 1);
    dmap_Wheel(p, 1, 5, 5);
    EXPECT_EQ(p.map.maparea, (Box{0, 10, 10, 0}));
    EXPECT_EQ(p.map.resolution, 1);
    dmap_Wheel(p, -5, 5, 5);  // 2, 3, 4, 8, 10
    EXPECT_EQ(p.map.resolution, 10);
    dmap_Wheel(p, -3, 5, 5);  // 13, 24, the planet
    EXPECT_EQ(p.map.areaclass, kEntirePlanet);
    EXPECT_EQ(p.map.maparea, (Box{-180, 90, 180, -90}));
    EXPECT_EQ(p.dmap.shows.step, 24);

    // A box wider than a tile is moved, the least way, to end within two tiles.
    EXPECT_EQ(fitToTiles({-10, 57, 193, -45}), (Box{0, 57, 203, -45}));
    EXPECT_EQ(fitToTiles({170, 57, 373, -45}), (Box{-180, 57, 23, -45}));
    EXPECT_EQ(fitToTiles({-200, 10, -190, 0}), (Box{160, 10, 170, 0}));
}

TEST_F(ExploreTest, ArrowKeysScrollThenDrawTheAreaBeside) {
    const struct {
        const char* name;
        Box from;
        Heading heading;
        Box box;
    } cases[] = {
        {"east", {160, 40, 180, 20}, Heading::East, {170, 40, 190, 20}},
        {"west across 180", {-180, 10, -160, -10}, Heading::West, {170, 10, 190, -10}},
        {"south", {0, 90, 20, 70}, Heading::South, {0, 80, 20, 60}},
        {"north stops at the pole", {0, 90, 20, 70}, Heading::North, {0, 90, 20, 70}},
        {"odd height, north to the pole", {0, 85, 20, 60}, Heading::North, {0, 90, 20, 65}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drawArea(c.from, 4);  // fits the window
        const std::size_t entries = p.history.size();
        dmap_Arrow(p, c.heading);
        EXPECT_EQ(p.map.maparea, c.box);
        EXPECT_EQ(p.dmap.shows.step, 4);
        EXPECT_EQ(p.history.size(), entries + (c.box == c.from ? 0 : 1));
    }

    // 1280 pixels wide: the arrow scrolls until the picture's edge shows.
    drawArea({0, 40, 20, 20}, 1);
    dmap_Arrow(p, Heading::East);
    EXPECT_EQ(ui.scrollValue(Control::Hscrbar), 100);
    EXPECT_EQ(p.dmap.left, -1000);
    EXPECT_EQ(p.map.maparea, (Box{0, 40, 20, 20}));
    ui.setScrollValue(Control::Hscrbar, 720);
    dmap_Arrow(p, Heading::East);
    EXPECT_EQ(p.map.maparea, (Box{10, 40, 30, 20}));
    EXPECT_EQ(ui.scrollValue(Control::Hscrbar), 0);

    // A middle drag of 128 pixels to the right at the picture's left edge: 2° west.
    drawArea({0, 40, 10, 30}, 1);
    dmap_MiddleDown(p, 10, 10);
    dmap_MiddleMove(p, 100, 10);
    dmap_MiddleUp(p, 138, 10);
    EXPECT_EQ(p.map.maparea, (Box{-2, 40, 8, 30}));
}

// In a window of 1000 x 500 pixels, which spans more than the planet at step 24.
TEST_F(ExploreTest, BackAndForwardLikeABrowser) {
    ui.client = {15000, 7500};
    m_tile_Click(p, 0);                 // the north-west tile at step 13
    m_tile_Click(p, 5);                 // the planet at step 24
    dmap_Wheel(p, 1, 122.5f, 192.5f);   // step 13 over Olympus Mons, 134.24°W 17.99°N
    const Box zoomed = p.map.maparea;
    EXPECT_EQ(zoomed, (Box{-159, 57, 44, -45}));
    mapBack(p);
    EXPECT_EQ(p.map.areaclass, kEntirePlanet);
    EXPECT_EQ(p.dmap.shows.step, 24);
    mapBack(p);
    EXPECT_EQ(p.map.mapsource, kFromTile);
    EXPECT_EQ(p.dmap.shows.step, 13);
    EXPECT_TRUE(ui.checked(MenuControl::m_tile, 0));
    mapBack(p);  // nothing before the first map
    EXPECT_EQ(p.map.mapsource, kFromTile);
    mapForward(p);
    mapForward(p);
    EXPECT_EQ(p.map.maparea, zoomed);
    EXPECT_EQ(p.dmap.shows.step, 13);

    // A new map after going back drops the maps ahead of it.
    dmap_Wheel(p, -1, 122.5f, 192.5f);  // 375° wide: the planet, as a new map
    EXPECT_EQ(p.map.areaclass, kEntirePlanet);
    EXPECT_EQ(p.history.size(), 4u);
    mapBack(p);
    mapBack(p);
    dmap_Wheel(p, 1, 400.5f, 100.5f);
    EXPECT_EQ(p.history.size(), 3u);
    const Box other = p.map.maparea;
    mapForward(p);  // nothing ahead
    EXPECT_EQ(p.map.maparea, other);

    // On a polar map the wheel changes the step; the pole stays under the
    // pointer as far as the scroll bars reach, and back returns to the step before.
    m_tile_Click(p, 8);
    const std::int16_t first = p.dmap.shows.step;
    const int half = p.dmap.shows.half;
    dmap_Wheel(p, 1, float(half), float(half));
    EXPECT_EQ(p.map.areaclass, kPolarMap);
    EXPECT_EQ(p.dmap.shows.step, *zoomedStep(first, true));
    EXPECT_EQ(p.dmap.left, 0);  // 984 pixels wide: it fits the window that way
    EXPECT_NEAR(p.dmap.shows.half + p.dmap.top / 15.0, half, 1.0);
    // The arrows scroll it, and where there is nothing to scroll draw nothing:
    // 984 pixels fit the window's 1000 across, not its 500 down.
    const int generation = p.renderGeneration;
    const std::size_t entries = p.history.size();
    dmap_Arrow(p, Heading::East);
    EXPECT_EQ(p.dmap.left, 0);
    ui.setScrollValue(Control::Vscrbar, 0);
    dmap_Arrow(p, Heading::South);
    EXPECT_EQ(ui.scrollValue(Control::Vscrbar), 100);
    EXPECT_EQ(p.dmap.top, -1000);
    EXPECT_EQ(p.renderGeneration, generation);
    EXPECT_EQ(p.history.size(), entries);
    mapBack(p);
    EXPECT_EQ(p.dmap.shows.step, first);
    EXPECT_EQ(p.map.mapsource, kFromPolar);

    MapHistory history;
    for (int i = 0; i < 105; ++i) history.push(MapEntry{MapEntry::Kind::Area, {}, std::int16_t(i + 1), {}, {}, {}});
    EXPECT_EQ(history.size(), MapHistory::kMaxEntries);
    while (history.back()) {}
    EXPECT_EQ(history.current()->step, 6);
}

// Zooming in on a polar map to a picture whose memory cannot be had (step 1
// to latitude 1°, 14412 pixels square, 830 MB, in a process allowed 300 MB
// more) reports the failure as the renderer reports it, instead of letting it
// escape to the event loop. Run in a child process, whose memory is limited.
TEST_F(ExploreTest, APolarPictureThatCannotBeHadIsReported) {
#ifdef RUBICEL_UNDER_ASAN
    GTEST_SKIP() << "the sanitizers' allocator ends the process where memory cannot be had";
#endif
    const auto zoomWithoutMemory = [this] {
        p.map.areaclass = kPolarMap;
        p.map.mapsource = kFromPolar;
        p.map.polarpole = 1;
        p.map.polarlimit = 1;
        p.map.resolution = 2;
        ui.onYield = [this](int) { p.map.stopflag = 1; };  // one row is enough to zoom in on
        Drawpolar(p);
        ui.onYield = nullptr;
        if (!ui.messages.empty() || p.dmap.shows.step != 2) std::exit(2);
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t bytes = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (rlim_t(300) << 20);
        const rlimit limit{bytes, bytes};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) std::exit(3);
        dmap_Wheel(p, 1, float(p.dmap.shows.half), 0.5f);
        const bool reported =
            ui.messages.size() == 1 && ui.messages[0].text.starts_with("Module 'Drawpolar' - Out of memory");
        std::exit(reported ? 0 : 1);
    };
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(zoomWithoutMemory(), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace rubicel
