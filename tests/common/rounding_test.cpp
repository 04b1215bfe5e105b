// SPDX-License-Identifier: MIT
// rounding_test.cpp: halves go to the even neighbour; 16-bit overflow is detected.
#include "common/rounding.h"

#include <gtest/gtest.h>

namespace rubicel {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const struct { double in; double out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {128.5, 128}, {5759.5, 5760}, {2103.57, 2104},
    };
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, SixteenBitConversionRefusesOverflow) {
    EXPECT_EQ(toInt16(32767.4), std::optional<std::int16_t>(32767));
    EXPECT_EQ(toInt16(32767.5), std::nullopt);  // rounds to 32768
    EXPECT_EQ(toInt16(-32768.5f), std::optional<std::int16_t>(-32768));
    EXPECT_EQ(toInt16(std::nan("")), std::nullopt);
    EXPECT_EQ(difference16(-32768, 1), std::nullopt);
    EXPECT_EQ(difference16(21250, -8200), std::optional<std::int16_t>(29450));
}

}  // namespace
}  // namespace rubicel
