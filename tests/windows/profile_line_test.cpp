// SPDX-License-Identifier: MIT
// profile_line_test.cpp: a line over a finished map: its ends, its profile, the pixel of each point, the end with the next map.
#include "windows/profile_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "maps/area_renderer.h"
#include "maps/drawn_map.h"
#include "maps/polar_renderer.h"
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

    // Every point is marked on a pixel showing a sample within one pixel of it,
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
        for (std::size_t i = 0; i < line.profile.points.size(); i += 7) {
            const auto at = profilePointPixel(p.dmap, line, i);
            ASSERT_TRUE(at) << "point " << i;
            const auto s = pixelSample(p.dmap, (*at)[0], (*at)[1]);
            ASSERT_TRUE(s);
            const ProfilePoint& point = line.profile.points[i];
            EXPECT_LE(centralAngle({s->latitude, s->longitude}, {point.latitude, point.longitude}), pixelAngle)
                << "step " << step << " point " << i << " at " << (*at)[0] << "," << (*at)[1];
        }
    }

    // The next map ends the line.
    EXPECT_TRUE(profileLineShown(p.dmap, line));
    drawArea(170, 5, 190, -5, 4);
    EXPECT_FALSE(profileLineShown(p.dmap, line));
    EXPECT_FALSE(profilePointPixel(p.dmap, line, 0));
    EXPECT_EQ(profileSavePath("Maps/olympus"), "Maps/olympus.csv");
    EXPECT_EQ(profileSavePath("Maps/olympus.CSV"), "Maps/olympus.CSV");
}

}  // namespace
}  // namespace rubicel
