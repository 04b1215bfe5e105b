// SPDX-License-Identifier: MIT
// feature_table_test.cpp: the catalogue of named features behind the Map Area menu.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "windows/feature_catalogue.h"

namespace rubicel {
namespace {

TEST(FeatureCatalogue, FiveSubmenusOfValidBoxes) {
    const struct {
        const char *caption, *control, *items;
        std::size_t count;
    } expected[] = {{"Planitiae (plains)", "m_plan", "m_p", 12},  {"Cratered Terrain", "m_cter", "m_ct", 9},
                    {"Craters", "m_craters", "m_c", 16},          {"Mountains and Hills", "m_europe", "m_m", 16},
                    {"Channels and Valleys", "m_val", "m_v", 19}};
    const auto submenus = featureSubmenus();
    ASSERT_EQ(submenus.size(), std::size(expected));
    std::set<std::string_view> captions, pastTheMeridian;
    for (std::size_t i = 0; i < submenus.size(); ++i) {
        EXPECT_EQ(submenus[i].caption, expected[i].caption);
        EXPECT_EQ(menuControlName(submenus[i].control), expected[i].control);
        EXPECT_EQ(menuControlName(submenus[i].items), expected[i].items);
        EXPECT_EQ(submenus[i].features.size(), expected[i].count) << expected[i].caption;
        for (const Feature& f : submenus[i].features) {
            EXPECT_TRUE(captions.insert(f.caption).second) << f.caption << " appears twice";
            // West below east, north above south, the north-west corner inside the tiles.
            EXPECT_TRUE(f.west < f.east && f.north > f.south) << f.caption;
            EXPECT_TRUE(f.west >= -180 && f.west < 180 && f.north <= 90 && f.north > -90) << f.caption;
            EXPECT_TRUE(f.east <= 360 && f.south >= -90) << f.caption;
            if (f.east > 180) pastTheMeridian.insert(f.caption);
        }
    }
    EXPECT_EQ(captions.size(), 72u);
    EXPECT_EQ(pastTheMeridian,
              (std::set<std::string_view>{"Arcadia", "Olympia (N Pole)", "Orcus Patera", "Ma'adin Fossae"}));
}

struct RowCase {
    const char* items;
    std::size_t index;
    Feature feature;
};

class CatalogueRow : public testing::TestWithParam<RowCase> {};

TEST_P(CatalogueRow, HoldsTheListedCaptionAndBox) {
    const RowCase& c = GetParam();
    const Feature* f = nullptr;
    for (const FeatureSubmenu& s : featureSubmenus())
        if (menuControlName(s.items) == c.items && c.index < s.features.size()) f = &s.features[c.index];
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->caption, c.feature.caption);
    EXPECT_EQ((std::array{f->west, f->north, f->east, f->south}),
              (std::array{c.feature.west, c.feature.north, c.feature.east, c.feature.south}));
    EXPECT_EQ(findFeature(c.feature.caption), f);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CatalogueRow,
    testing::Values(RowCase{"m_p", 2, {"Arcadia", 160, 54, 220, 20}},
                    RowCase{"m_p", 9, {"Olympia (N Pole)", 150, 90, 240, 76}},
                    RowCase{"m_ct", 4, {"Terra Cimmeria", 125, -12, 180, -58}},
                    RowCase{"m_ct", 6, {"Terra Sirenium", -180, -28, -120, -60}},
                    RowCase{"m_c", 14, {"Schiaperelli", 6, 8, 26, -12}},
                    RowCase{"m_c", 15, {"Victoria", -7, 0, -3, -4}},
                    RowCase{"m_m", 4, {"Cydonia 'face'", -11, 42, -7, 38}},
                    RowCase{"m_m", 12, {"Tharsis volcanos", -130, 20, -90, -20}},
                    RowCase{"m_v", 16, {"Tempae Fossae", -88, 58, -54, 31}},
                    RowCase{"m_v", 18, {"Valles Marineris", -120, 5, -20, -25}}));

TEST(FeatureCatalogue, UnknownCaptionsFindNothing) {
    for (const char* caption : {"", "Schiaparelli", "victoria", "Victoria ", "Craters"})
        EXPECT_EQ(findFeature(caption), nullptr) << '"' << caption << '"';
}

}  // namespace
}  // namespace rubicel
