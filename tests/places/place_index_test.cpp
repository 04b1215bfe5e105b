// SPDX-License-Identifier: MIT
// place_index_test.cpp: the named places read from the gazetteer, found by name in order, and what each covers.
#include "places/place_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "places/search_key.h"

namespace rubicel {
namespace {

const PlaceIndex& shipped() {
    static const PlaceIndex index = PlaceIndex::fromFiles(RUBICEL_PLACES_DIR "/mars_features.csv",
                                                          RUBICEL_PLACES_DIR "/landing_sites.csv");
    return index;
}

std::vector<std::string> names(const std::vector<const Place*>& found, std::size_t first = 100) {
    std::vector<std::string> n;
    for (std::size_t i = 0; i < found.size() && i < first; ++i) n.push_back(found[i]->name);
    return n;
}

const Place& named(const std::string& name) {
    const auto found = shipped().search(name);
    if (found.empty() || found[0]->name != name) throw std::runtime_error("no place " + name);
    return *found[0];
}

// Equal names, then names beginning with the text, then a later word, then
// anywhere; larger first within each, then by name; landing sites by mission
// and by site name.
TEST(PlaceIndex, FindsNamesInOrderWhateverTheCaseAndDiacritics) {
    const PlaceIndex small = PlaceIndex::fromText(
        "id,name,ascii_name,type,code,lat,lon_east,diameter_km,min_lat,max_lat,min_lon,max_lon,approved\n"
        "1,Mare,Mare,Crater,AA,0,10,5,,,,,\n"
        "2,Marea Fossae,Marea Fossae,Fossa,FO,0,10,50,-1,1,9,11,2001-01-01\n"
        "3,Maré Vallis,Mare Vallis,Vallis,VA,0,10,300,,,,,\r\n"
        "4,Nova Mare,Nova Mare,Planum,PM,0,10,800,,,,,\n"
        "5,Tamaresh,Tamaresh,Crater,AA,0,10,900,,,,,\n"
        "6,\"Mare, \"\"Lesser\"\"\",\"Mare  Lesser\",Crater,AA,0,10,50,,,,,\n"
        "\n"
        "7,Zeta,Zeta,Crater,AA,0,10,1000,,,,,\n",
        "mission,site,landed_utc,lat,lon_east\nMare Explorer,Tamar Station,2030-01-01,0,10\n");
    ASSERT_EQ(small.error(), "");
    ASSERT_EQ(small.places().size(), 8u);
    const std::vector<std::string> mare = {"Mare",          "Maré Vallis", "Mare, \"Lesser\"", "Marea Fossae",
                                           "Mare Explorer", "Nova Mare",   "Tamaresh"};
    EXPECT_EQ(names(small.search("MARE")), mare);
    EXPECT_EQ(names(small.search("  märe ")), mare);
    EXPECT_EQ(names(small.search("tamar")), (std::vector<std::string>{"Tamaresh", "Mare Explorer"}));
    EXPECT_EQ(names(small.search("mare lesser")), (std::vector<std::string>{"Mare, \"Lesser\""}));
    EXPECT_TRUE(small.search(" - ").empty());

    const struct {
        const char* text;
        std::vector<std::string> first;
    } cases[] = {
        {"hephaestus rupes", {"Hephaestus Rupēs"}},
        {"HEPHAESTUS", {"Hephaestus Rupēs", "Hephaestus Fossae"}},
        {"ma'adim", {"Ma'adim Vallis"}},
        {"Curiosity", {"Curiosity (MSL)"}},
        {"bradbury", {"Bradbury", "Curiosity (MSL)"}},  // the crater, then the site's name
        {"gale", {"Gale"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(names(shipped().search(c.text), c.first.size()), c.first);
    }
    EXPECT_EQ(named("Curiosity (MSL)").type, "Landing site");
    EXPECT_EQ(named("Curiosity (MSL)").site, "Bradbury Landing");
}

// The folding covers every letter of the gazetteer: each name gives the key of
// its ascii_name column.
TEST(PlaceIndex, ReadsTheWholeGazetteerAndFoldsEveryName) {
    ASSERT_EQ(shipped().error(), "");
    ASSERT_EQ(shipped().places().size(), 1903u + 10u);
    for (const Place& p : shipped().places()) {
        if (p.kind != Place::Kind::Feature) continue;
        EXPECT_EQ(searchKey(p.name), p.key) << p.name;
    }
}

TEST(PlaceIndex, ExtentIsTheBoxOrTheCentreAndDiameter) {
    const struct {
        const char* name;
        GeoBox extent;
    } cases[] = {
        {"Gale", {-6.6671, -4.0675, 136.5078, 139.1188}},                 // the gazetteer's box
        {"Meridiani Planum", {-3.9998, 8.7808, -10.8178, 7.038}},         // across 0°E
        {"Barth", {6.503607, 8.376393, 24.725657, 26.614343}},            // no box: 111 km at 7.44°N
        {"Aeolis", {-5.9416, -3.9416, 144.0, 146.0}},                     // an albedo feature, no size
        {"Curiosity (MSL)", {-5.5895, -3.5895, 136.4417, 138.4417}},      // a landing site
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GeoBox e = named(c.name).extent;
        EXPECT_NEAR(e.south, c.extent.south, 1e-6);
        EXPECT_NEAR(e.north, c.extent.north, 1e-6);
        EXPECT_NEAR(e.west, c.extent.west, 1e-6);
        EXPECT_NEAR(e.east, c.extent.east, 1e-6);
    }
}

TEST(PlaceIndex, AFaultyFileGivesNoPlaceAndSaysWhere) {
    const std::string header = "id,name,ascii_name,type,code,lat,lon_east,diameter_km,min_lat,max_lat,min_lon,max_lon\n";
    const std::string sites = "mission,site,lat,lon_east\nA,B,1,2\n";
    const struct {
        std::string features, sites, error;
    } cases[] = {
        {"id,name,ascii_name\n", sites, "no column type"},
        {header + "1,\"Gale,Gale,Crater,AA,-5,137,154,,,,\n", sites, "line 2 is not closed"},
        {header + "1,Gale,Gale,Crater,AA,-95,137,154,,,,\n", sites, "line 2: lat is \"-95\""},
        {header + "1,Gale,Gale,Crater,AA,-5,137,154,-6,,136,139\n", sites, "line 2: max_lat is \"\""},
        {header + "1,Gale,Gale,Crater,AA,-5,137,154,-4,-6,136,139\n", sites, "minimum exceeds"},
        {header + "1,Gale,Gale,Crater\n", sites, "line 2: 4 fields, 12 in the header"},
        {header, "mission,site,lat,lon_east\nA,B,1,x\n", "landing_sites.csv: line 2: lon_east"},
    };
    for (const auto& c : cases) {
        const PlaceIndex index = PlaceIndex::fromText(c.features, c.sites);
        EXPECT_NE(index.error().find(c.error), std::string::npos) << index.error();
        EXPECT_TRUE(index.places().empty());
    }
    EXPECT_NE(PlaceIndex::fromFiles("/nonexistent/a.csv", "b.csv").error().find("cannot read /nonexistent/a.csv"),
              std::string::npos);
}

}  // namespace
}  // namespace rubicel
