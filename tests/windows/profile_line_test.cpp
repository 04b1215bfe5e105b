// SPDX-License-Identifier: MIT
// profile_line_test.cpp: a line over a finished map: its ends, its profile, the place of each point, the end with the next map.
#include "windows/profile_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "maps/area_renderer.h"
#include "maps/drawn_map.h"
#include "maps/polar_renderer.h"
#include "maps/tile_renderer.h"
#include "maps/render_fixture.h"

namespace rubicel {
namespace {

class ProfileLineTest : public test::RenderFixture {
protected:
    void drawArea(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d, std::int16_t step) {
        p.map.areaclass = kAreaMap;
        p.map.mapsource = kFromArea;
        p.map.resolution = step;
        mapfromtile(p, a, b, c, d);
    }
};

TEST_F(ProfileLineTest, ProfilesTheSamplesAtTheEndsAndFindsEachPointOnTheMap) {
    ProfileLine line;
    EXPECT_FALSE(dmap_ProfileAllowed(p));
    EXPECT_TRUE(dmap_ProfileLine(p, 1, 1, 5, 5, line)) << "no map yet";

    // Across 180 E and the equator, step 4: four tiles in one picture.
    drawArea(170, 5, 190, -5, 4);
    ASSERT_TRUE(dmap_ProfileAllowed(p));
    const PixelExtent extent = drawnExtent(p.dmap);
    ASSERT_GT(extent.width, 300);
    // The far end lies beyond the picture and is moved onto its last pixel.
    ASSERT_EQ(dmap_ProfileLine(p, 10.7f, 10.2f, 900.0f, 900.0f, line), std::nullopt);
    EXPECT_EQ(line.x1, extent.width - 1);
    EXPECT_EQ(line.y1, extent.height - 1);
    const auto first = pixelSample(p.dmap, 10, 10), last = pixelSample(p.dmap, line.x1, line.y1);
    EXPECT_EQ(line.profile.start.latitude, first->latitude);
    EXPECT_EQ(line.profile.start.longitude, first->longitude);
    EXPECT_EQ(line.profile.end.latitude, last->latitude);
    EXPECT_EQ(line.profile.end.longitude, last->longitude);
    EXPECT_GT(last->longitude, 180.0) << "east of 180 the map counts on to 360";

    // Every point is marked in a pixel showing a sample within one pixel of it,
    // on this map, on one far north, where the arc bends away from the line, and
    // on a polar map, whose corner end moves along the line onto its limit circle.
    for (const int step : {4, 8, 24}) {
        if (step == 8) {
            drawArea(150, 85, 210, 70, 8);
            ASSERT_EQ(dmap_ProfileLine(p, 0, 0, 470, 110, line), std::nullopt);
        } else if (step == 24) {
            p.map.areaclass = kPolarMap;
            p.map.mapsource = kFromPolar;
            p.map.polarpole = -1;
            p.map.polarlimit = 60;
            p.map.resolution = 24;
            Drawpolar(p);
            ASSERT_TRUE(dmap_ProfileAllowed(p));
            ASSERT_EQ(dmap_ProfileLine(p, 0, 0, 100, 90, line), std::nullopt);
            EXPECT_GT(line.x0, 0);
            EXPECT_TRUE(pixelSample(p.dmap, line.x0, line.y0) && !pixelSample(p.dmap, line.x0 - 1, line.y0 - 1));
            EXPECT_NEAR(line.profile.start.latitude, -60, 0.5);
        }
        const double pixelAngle = step / 64.0 * std::numbers::pi / 180.0;
        std::size_t marked = 0;
        for (std::size_t i = 0; i < line.profile.points.size(); i += 7) {
            const auto at = profilePointPlace(p.dmap, line, i);
            if (!at) continue;
            const auto s = pixelSample(p.dmap, int(std::floor(at->x)), int(std::floor(at->y)));
            ASSERT_TRUE(s) << "point " << i;
            const ProfilePoint& point = line.profile.points[i];
            EXPECT_LE(centralAngle({s->latitude, s->longitude}, {point.latitude, point.longitude}), pixelAngle)
                << "step " << step << " point " << i << " at " << at->x << "," << at->y;
            ++marked;
        }
        EXPECT_GT(marked, line.profile.points.size() / 7 / 2) << "step " << step;
    }

    // The next map ends the line.
    EXPECT_TRUE(profileLineShown(p.dmap, line));
    drawArea(170, 5, 190, -5, 4);
    EXPECT_FALSE(profileLineShown(p.dmap, line));
    EXPECT_FALSE(profilePointPlace(p.dmap, line, 0));
}

// The distance from (x, y) to the nearest segment of the path, pixels.
double distanceToPath(const std::vector<PathRun>& path, double x, double y) {
    double best = 1e9;
    for (const PathRun& run : path)
        for (std::size_t i = 0; i < run.size(); ++i) {
            const auto& a = run[i];
            const auto& b = i + 1 < run.size() ? run[i + 1] : run[i];
            const double dx = b[0] - a[0], dy = b[1] - a[1], length2 = dx * dx + dy * dy;
            const double t = length2 > 0 ? std::clamp(((x - a[0]) * dx + (y - a[1]) * dy) / length2, 0.0, 1.0) : 0.0;
            best = std::min(best, std::hypot(a[0] + t * dx - x, a[1] + t * dy - y));
        }
    return best;
}

struct PathCase {
    const char* name;
    enum Kind { Area, Tile, Polar } kind;
    std::array<std::int16_t, 4> box;  // an area's box; a tile's index; a polar map's pole and limit
    std::int16_t step;
    GeoPoint start, end;
    std::size_t runs;
};

class ProfilePath : public ProfileLineTest, public testing::WithParamInterface<PathCase> {};

// Every pixel's sample lies at the pixel's centre, and every point of the
// profile marked on the map lies on the path drawn.
TEST_P(ProfilePath, RunsThroughEveryMarkedPoint) {
    const PathCase& c = GetParam();
    if (c.kind == PathCase::Area) {
        drawArea(c.box[0], c.box[1], c.box[2], c.box[3], c.step);
    } else if (c.kind == PathCase::Tile) {
        p.map.tilefile = p.map.datafolder + p.File1[std::size_t(c.box[0])];
        p.map.resolution = c.step;
        Drawtile(p);
    } else {
        p.map.polarpole = c.box[0];
        p.map.polarlimit = c.box[1];
        p.map.resolution = c.step;
        Drawpolar(p);
    }
    const PixelExtent extent = drawnExtent(p.dmap);
    ASSERT_GT(extent.width, 0);
    const double tolerance = c.kind == PathCase::Polar ? 1.0 : 1e-6;
    for (int y = 0; y < extent.height; y += 7)
        for (int x = 0; x < extent.width; x += 11) {
            const auto s = pixelSample(p.dmap, x, y);
            if (!s) continue;
            const auto at = placeOnPicture(p.dmap, s->latitude, s->longitude);
            ASSERT_TRUE(at) << x << "," << y;
            ASSERT_NEAR(at->x, x + 0.5, tolerance) << x << "," << y;
            ASSERT_NEAR(at->y, y + 0.5, tolerance) << x << "," << y;
        }

    // The folder panel changes the data folder at once: the profile still reads the map's tiles.
    const std::string folder = p.map.datafolder;
    p.map.datafolder = "/nowhere/";
    const auto paths = drawnTilePaths(p);
    ASSERT_TRUE(paths);
    EXPECT_EQ((*paths)[3], folder + p.File1[3]);
    ProfileLine line;
    line.revision = p.dmap.revision;
    ASSERT_EQ(elevationProfile(*paths, c.start, c.end, 0, line.profile), std::nullopt);
    line.path = profilePath(p.dmap, line.profile);
    EXPECT_EQ(line.path.size(), c.runs);
    std::size_t marked = 0;
    for (std::size_t i = 0; i < line.profile.points.size(); i += 13) {
        const ProfilePoint& point = line.profile.points[i];
        const auto at = profilePointPlace(p.dmap, line, i);
        if (!at) continue;
        EXPECT_LE(distanceToPath(line.path, at->x, at->y), 0.5)
            << "point " << i << " at " << point.latitude << "," << point.longitude;
        ++marked;
    }
    EXPECT_GT(marked, 10u);
}

INSTANTIATE_TEST_SUITE_P(
    Maps, ProfilePath,
    testing::Values(
        // Along 50°N from 150°W to 0°, the arc rises to 77.7°N.
        PathCase{"planet_50N", PathCase::Area, {-180, 90, 180, -90}, 24, {50, -150}, {50, 0}, 1},
        PathCase{"all_round_across_180", PathCase::Area, {-180, 10, 180, 0}, 4, {5, 179}, {4, -179}, 2},
        PathCase{"planet_180_across_180", PathCase::Area, {0, 90, 360, -90}, 24, {10, 170}, {-10, -170}, 1},
        PathCase{"four_tiles_across_180", PathCase::Area, {170, 5, 190, -5}, 4, {4, 171}, {-4, -172}, 1},
        PathCase{"leaves_the_top_and_comes_back", PathCase::Area, {0, 30, 60, 10}, 8, {28, 2}, {28, 58}, 2},
        PathCase{"whole_tile", PathCase::Tile, {3, 0, 0, 0}, 13, {60, -170}, {5, -10}, 1},
        PathCase{"north_pole_across_180", PathCase::Polar, {1, 60, 0, 0}, 24, {70, 170}, {65, -160}, 1},
        PathCase{"south_pole_over_the_pole", PathCase::Polar, {-1, 60, 0, 0}, 24, {-62, 10}, {-70, -150}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rubicel
