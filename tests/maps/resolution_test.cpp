// SPDX-License-Identifier: MIT
// resolution_test.cpp: the automatic step of an area and where the Resolution check mark goes.
#include "maps/resolution.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

namespace rubicel {
namespace {

struct AreaCase {
    const char* name;
    std::int16_t a, b, c, d;  // west, north, east, south
    std::int16_t step;
    int item;
};

void PrintTo(const AreaCase& c, std::ostream* os) { *os << c.name; }

class SelectResolution : public ::testing::TestWithParam<AreaCase> {};

TEST_P(SelectResolution, ReturnsStepAndMovesCheckMark) {
    const AreaCase& k = GetParam();
    HeadlessPlatform ui;
    for (int i = 0; i < 8; ++i) ui.setMenuChecked(MenuId{MenuControl::m_siz, i}, true);

    EXPECT_EQ(selectresolution(ui, k.a, k.b, k.c, k.d), k.step);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{k.item});
}

INSTANTIATE_TEST_SUITE_P(Areas, SelectResolution, ::testing::Values(
    AreaCase{"lon_16", 0, 0, 16, 0, 1, 7},
    AreaCase{"lon_17", 0, 0, 17, 0, 2, 6},
    AreaCase{"lon_30", 0, 0, 30, 0, 2, 6},
    AreaCase{"lon_31", 0, 0, 31, 0, 3, 5},
    AreaCase{"lon_48", 0, 0, 48, 0, 4, 4},
    AreaCase{"lon_64", 0, 0, 64, 0, 4, 4},
    AreaCase{"lon_65", 0, 0, 65, 0, 8, 3},
    AreaCase{"lon_100", -50, 0, 50, 0, 8, 3},
    AreaCase{"lon_101", -50, 0, 51, 0, 20, 0},
    AreaCase{"lat_12", 0, 12, 0, 0, 1, 7},
    AreaCase{"lat_13", 0, 13, 0, 0, 2, 6},
    AreaCase{"lat_23", 0, 23, 0, 0, 3, 5},
    AreaCase{"lat_48", 0, 24, 0, -24, 4, 4},
    AreaCase{"lat_49", 0, 49, 0, 0, 8, 3},
    AreaCase{"lat_69", 0, 69, 0, 0, 8, 3},
    AreaCase{"lat_70", 0, 35, 0, -35, 20, 0},
    AreaCase{"ten_by_forty_takes_latitude_step", 0, 20, 10, -20, 4, 4},
    AreaCase{"hundred_twenty_by_ten_thumbnail", 0, 5, 120, -5, 20, 0},
    AreaCase{"twenty_by_twenty", 130, -5, 150, -25, 2, 6},
    AreaCase{"zero_spans", 10, 10, 10, 10, 1, 7},
    AreaCase{"negative_spans", 50, -10, 10, 10, 1, 7},
    AreaCase{"planet_centred_on_0", -180, 90, 180, -90, 20, 0},
    AreaCase{"planet_centred_on_180", 0, 90, 360, -90, 20, 0},
    AreaCase{"spans_beyond_16_bits_stay_wide", -32768, 0, 32767, 0, 20, 0},
    AreaCase{"spans_beyond_16_bits_stay_negative", 32767, 0, -32768, 0, 1, 7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResolutionItem, MapsStepsToMenuItems) {
    const struct { std::int16_t step; int item; } cases[] = {
        {1, 7}, {2, 6}, {3, 5}, {4, 4}, {5, 3}, {8, 3}, {6, 0}, {13, 0}, {20, 0}, {24, 0}, {0, 0}, {-1, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(resolutionItem(c.step), c.item) << "step " << c.step;
}

TEST(CheckResolutionItem, LeavesExactlyOneMarkAndNoOtherMenu) {
    HeadlessPlatform ui;
    ui.setMenuChecked(MenuId{MenuControl::m_setcol, 2}, true);
    for (int index = 0; index < 8; ++index) {
        checkResolutionItem(ui, index);
        EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), std::vector<int>{index});
    }
    EXPECT_TRUE(ui.checked(MenuControl::m_setcol, 2));
}

}  // namespace
}  // namespace rubicel
