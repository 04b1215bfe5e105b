// SPDX-License-Identifier: MIT
// place_map_test.cpp: the map a named place is drawn as, in a map area of 1024 x 768 pixels.
#include "windows/place_map.h"

#include <gtest/gtest.h>

#include "places/place_index.h"

namespace rubicel {
namespace {

TEST(PlaceMap, SmallPlacesAsAreasLargeOnesAsPolarMapsOrThePlanet) {
    const PlaceIndex places =
        PlaceIndex::fromFiles(RUBICEL_PLACES_DIR "/mars_features.csv", RUBICEL_PLACES_DIR "/landing_sites.csv");
    ASSERT_EQ(places.error(), "");
    using K = PlaceMap::Kind;
    const struct {
        const char* name;
        PlaceMap map;
    } cases[] = {
        // 47 km: 16° x 12° at step 1 around 77.69°E 18.41°N.
        {"Jezero", {K::Area, {70, 24, 86, 12}, 1}},
        // Across 0°E: at step 2 its south edge (4°S) falls outside 4°N..20°N.
        {"Meridiani Planum", {K::Area, {-27, 18, 21, -18}, 3}},
        // Centred at 134.45°W: the box runs on past 180 into the western tiles.
        {"Olympus Mons", {K::Area, {-150, 31, -118, 7}, 2}},
        // The polar cap: 80.59°N and 3° more, down to 77; 2 x 279 pixels at step 3.
        {"Planum Boreum", {K::Polar, {}, 3, 1, 77}},
        {"Planum Australe", {K::Polar, {}, 4, -1, 68}},
        // All longitudes between 48.25°N and 82.08°N.
        {"Vastitas Borealis", {K::Polar, {}, 8, 1, 45}},
        // Wider than the middle of any box: the planet, on the centre's side.
        {"Noachis Terra", {K::Planet, {}, 1, 1, 60, 0}},
        {"Utopia Planitia", {K::Planet, {}, 1, 1, 60, 180}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto found = places.search(c.name);
        ASSERT_FALSE(found.empty());
        EXPECT_EQ(placeMap(*found[0], 1024, 768), c.map);
    }
}

}  // namespace
}  // namespace rubicel
