// SPDX-License-Identifier: MIT
// elevation_profile_test.cpp: profiles over sparse tiles: samples and distances along known paths, refusals, CSV text.
#include "maps/elevation_profile.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "support/sparse_tiles.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

// A sample value that names its tile, record and column.
std::int16_t code(int tile, int record, int column) {
    return std::int16_t(tile * 8000 + (record % 80) * 100 + column % 100);
}

class Profile : public ::testing::Test {
protected:
    Profile() {
        const auto made = test::makeSparseTileSet(dir.path());
        for (std::size_t t = 0; t < 4; ++t) paths[t] = made[t].string();
    }
    void writeCoded(int tile, int record) {
        test::writeRecord(paths[std::size_t(tile)], record, [=](int c) { return code(tile, record, c); });
    }
    test::TempDir dir;
    std::array<std::string, 4> paths;
};

TEST_F(Profile, FollowsTheArcThroughTheRightTilesRecordsAndColumns) {
    struct Expected {
        int tile, record, column;
    };
    const struct {
        const char* name;
        GeoPoint start, end;
        int points;            // one per sample spacing, through the sample centres
        double lengthKm;       // angle x R, worked out apart
        std::function<Expected(int)> sample;  // the sample point i lies in
    } cases[] = {
        // Down the meridian 10.0078125 E through sample centres, over the equator
        // from record 5760 of the north-east tile to record 1 of the south-east one.
        {"meridian across the equator", {0.9921875, 10.0078125}, {-0.9921875, 10.0078125}, 128, 117.623228,
         [](int i) { return i < 64 ? Expected{2, 5697 + i, 640} : Expected{0, i - 63, 640}; }},
        // Eastward just south of the equator over 180 E, from the last columns of
        // the south-east tile into the first ones of the south-west tile.
        {"equator across 180", {-0.0078125, 179.8046875}, {-0.0078125, -179.8046875}, 26, 23.154179,
         [](int i) { return i < 13 ? Expected{0, 1, 11507 + i} : Expected{1, 1, i - 13}; }},
        // The same line given the other way round, as 0-360 longitudes in the north.
        {"westward in the north", {0.0078125, 180.1953125}, {0.0078125, 179.8046875}, 26, 23.154179,
         [](int i) { return i < 13 ? Expected{3, 5760, 12 - i} : Expected{2, 5760, 11519 - (i - 13)}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < c.points; ++i) {
            const Expected e = c.sample(i);
            writeCoded(e.tile, e.record);
        }
        ElevationProfile profile;
        ASSERT_EQ(elevationProfile(paths, c.start, c.end, c.points, profile), std::nullopt);
        ASSERT_EQ(int(profile.points.size()), c.points);
        EXPECT_NEAR(profile.length / 1000.0, c.lengthKm, 1e-6);
        for (int i = 0; i < c.points; ++i) {
            const ProfilePoint& p = profile.points[std::size_t(i)];
            const Expected e = c.sample(i);
            EXPECT_EQ(p.elevation, code(e.tile, e.record, e.column)) << "point " << i;
            EXPECT_NEAR(p.distance / 1000.0, c.lengthKm * i / (c.points - 1), 1e-6) << "point " << i;
            EXPECT_GE(p.longitude, -180.0);
            EXPECT_LT(p.longitude, 180.0);
        }
    }
}

TEST_F(Profile, CoincidentPointsRepeatTheStartAntipodalOnesAreRefusedAndTheDefaultCountFollowsTheArc) {
    writeCoded(3, 10);  // 89.85 N, 100 W: record 10, column 5120 of the north-west tile
    for (int points : {0, 5}) {
        ElevationProfile profile;
        ASSERT_EQ(elevationProfile(paths, {89.85, -100.0}, {89.85, 260.0}, points, profile), std::nullopt);
        ASSERT_EQ(profile.points.size(), points == 0 ? 2u : 5u);
        for (const ProfilePoint& p : profile.points) {
            EXPECT_NEAR(p.latitude, 89.85, 1e-9);
            EXPECT_NEAR(p.longitude, -100.0, 1e-9);
            EXPECT_NEAR(p.distance, 0.0, 1e-6);
            EXPECT_EQ(p.elevation, code(3, 10, 5120));
        }
    }
    for (const auto& [a, b] : {std::pair<GeoPoint, GeoPoint>{{10, 20}, {-10, 200}}, {{10, 20}, {-10, -160}},
                               {{90, 0}, {-90, 45}}, {{0, 0}, {0, 180}}}) {
        ElevationProfile profile;
        const auto error = elevationProfile(paths, a, b, 0, profile);
        EXPECT_TRUE(error && error->find("antipodal") != std::string::npos);
    }
    EXPECT_FALSE(antipodal({10, 20}, {-10, 199.9}));
    // One point per 1/64 degree along the arc, and one more.
    EXPECT_EQ(defaultProfilePoints({-5, -80}, {-5, -79}), 65);  // 0.9962 degrees
    EXPECT_EQ(defaultProfilePoints({0, 0}, {0, 1.001}), 66);
}

}  // namespace
}  // namespace rubicel
