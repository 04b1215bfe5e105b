// SPDX-License-Identifier: MIT
// feature_table_test.cpp: the catalogue of named features behind the Map Area menu.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/feature_catalogue.h"

namespace rubicel {
namespace {

struct SubmenuCase {
    const char* caption;
    const char* control;
    const char* items;
    std::size_t count;
};

TEST(FeatureCatalogue, FiveSubmenusInMenuOrder) {
    const SubmenuCase expected[] = {
        {"Planitiae (plains)", "m_plan", "m_p", 12},
        {"Cratered Terrain", "m_cter", "m_ct", 9},
        {"Craters", "m_craters", "m_c", 16},
        {"Mountains and Hills", "m_europe", "m_m", 16},
        {"Channels and Valleys", "m_val", "m_v", 19},
    };
    const auto submenus = featureSubmenus();
    ASSERT_EQ(submenus.size(), std::size(expected));
    std::size_t total = 0;
    for (std::size_t i = 0; i < submenus.size(); ++i) {
        SCOPED_TRACE(expected[i].caption);
        EXPECT_EQ(submenus[i].caption, expected[i].caption);
        EXPECT_EQ(submenus[i].control, expected[i].control);
        EXPECT_EQ(submenus[i].items, expected[i].items);
        EXPECT_EQ(submenus[i].features.size(), expected[i].count);
        total += submenus[i].features.size();
    }
    EXPECT_EQ(total, 72u);
}

TEST(FeatureCatalogue, EveryBoxRunsWestToEastAndNorthToSouthWithinItsLimits) {
    std::set<std::string_view> captions;
    for (const FeatureSubmenu& submenu : featureSubmenus()) {
        for (const Feature& f : submenu.features) {
            SCOPED_TRACE(std::string(f.caption));
            EXPECT_LT(f.west, f.east);
            EXPECT_GT(f.north, f.south);
            // The north-west corner lies inside the four tiles; east may run past 180.
            EXPECT_GE(f.west, -180);
            EXPECT_LT(f.west, 180);
            EXPECT_LE(f.north, 90);
            EXPECT_GT(f.north, -90);
            EXPECT_LE(f.east, 360);
            EXPECT_GE(f.south, -90);
            EXPECT_TRUE(captions.insert(f.caption).second) << "caption appears twice";
        }
    }
}

struct RowCase {
    const char* submenu;
    std::size_t index;
    Feature feature;
};

class CatalogueRow : public testing::TestWithParam<RowCase> {};

TEST_P(CatalogueRow, HoldsTheListedCaptionAndBox) {
    const RowCase& c = GetParam();
    const FeatureSubmenu* submenu = nullptr;
    for (const FeatureSubmenu& s : featureSubmenus())
        if (s.items == c.submenu) submenu = &s;
    ASSERT_NE(submenu, nullptr);
    ASSERT_LT(c.index, submenu->features.size());
    const Feature& f = submenu->features[c.index];
    EXPECT_EQ(f.caption, c.feature.caption);
    EXPECT_EQ(f.west, c.feature.west);
    EXPECT_EQ(f.north, c.feature.north);
    EXPECT_EQ(f.east, c.feature.east);
    EXPECT_EQ(f.south, c.feature.south);
    EXPECT_EQ(findFeature(c.feature.caption), &f);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CatalogueRow,
    testing::Values(RowCase{"m_p", 0, {"Acidalia", -60, 58, 0, 32}},
                    RowCase{"m_p", 2, {"Arcadia", 160, 54, 220, 20}},
                    RowCase{"m_p", 9, {"Olympia (N Pole)", 150, 90, 240, 76}},
                    RowCase{"m_p", 11, {"Utopia", 60, 60, 150, 10}},
                    RowCase{"m_ct", 4, {"Terra Cimmeria", 125, -12, 180, -58}},
                    RowCase{"m_ct", 6, {"Terra Sirenium", -180, -28, -120, -60}},
                    RowCase{"m_ct", 8, {"Tyrrhenia Terra", 70, 3, 105, -29}},
                    RowCase{"m_c", 1, {"Copernicus", -180, -40, -160, -60}},
                    RowCase{"m_c", 4, {"Gusev", 172, -12, 179, -21}},
                    RowCase{"m_c", 13, {"Orcus Patera", 170, 20, 190, 10}},
                    RowCase{"m_c", 14, {"Schiaperelli", 6, 8, 26, -12}},
                    RowCase{"m_c", 15, {"Victoria", -7, 0, -3, -4}},
                    RowCase{"m_m", 1, {"Apollinaris Patera", 170, -5, 180, -12}},
                    RowCase{"m_m", 4, {"Cydonia 'face'", -11, 42, -7, 38}},
                    RowCase{"m_m", 12, {"Tharsis volcanos", -130, 20, -90, -20}},
                    RowCase{"m_m", 15, {"Uranius Patera", -104, 30, -89, 20}},
                    RowCase{"m_v", 0, {"Acheron Fossae", -150, 40, -130, 21}},
                    RowCase{"m_v", 6, {"Ma'adin Fossae", 171, -10, 183, -30}},
                    RowCase{"m_v", 16, {"Tempae Fossae", -88, 58, -54, 31}},
                    RowCase{"m_v", 18, {"Valles Marineris", -120, 5, -20, -25}}));

TEST(FeatureCatalogue, BoxesPastTheMeridianOfOneEighty) {
    // Exactly four features run on eastward across 180 degrees.
    std::set<std::string_view> beyond;
    for (const FeatureSubmenu& submenu : featureSubmenus())
        for (const Feature& f : submenu.features)
            if (f.east > 180) beyond.insert(f.caption);
    EXPECT_EQ(beyond, (std::set<std::string_view>{"Arcadia", "Olympia (N Pole)", "Orcus Patera",
                                                  "Ma'adin Fossae"}));
}

TEST(FeatureCatalogue, UnknownCaptionsFindNothing) {
    for (const char* caption : {"", "Schiaparelli", "victoria", "Victoria ", "Craters"})
        EXPECT_EQ(findFeature(caption), nullptr) << '"' << caption << '"';
}

}  // namespace
}  // namespace rubicel
