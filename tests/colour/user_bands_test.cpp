// SPDX-License-Identifier: MIT
// user_bands_test.cpp: the band table built from the range dialog's limits, and scheme 9 on it.
#include "colour/user_bands.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "colour/colour_engine.h"
#include "colour/colour_state.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {
namespace {

struct BandsCase {
    const char* name;
    std::int16_t lower, upper;
    int step;
    // Some bands checked by hand: index, lo, hi.
    std::vector<std::pair<int, std::pair<std::int16_t, std::int16_t>>> bands;
};

const BandsCase kCases[] = {
    {"limits 0 and 7000", 0, 7000, 500,
     {{0, {-8200, 0}}, {1, {1, 501}}, {2, {502, 1002}}, {14, {6514, 7014}}, {15, {7015, 21250}}}},
    {"the start limits, 29450 / 14 rounded up", -8200, 21250, 2104,
     {{0, {-8200, -8200}}, {1, {-8199, -6095}}, {14, {19166, 21270}}, {15, {21271, 21250}}}},
    {"both captions 20000, step 0", 20000, 20000, 0,
     {{0, {-8200, 20000}}, {1, {20001, 20001}}, {14, {20014, 20014}}, {15, {20015, 21250}}}},
    {"a half goes to the even step", 0, 7, 0, {{0, {-8200, 0}}, {1, {1, 1}}, {15, {15, 21250}}}},
    {"a half goes to the even step, upwards", 0, 21, 2, {{1, {1, 3}}, {14, {40, 42}}}},
};

TEST(UserBands, BandsFollowTheLimits) {
    for (const BandsCase& c : kCases) {
        ColourState colour;
        ASSERT_TRUE(userbandsFromLimits(colour, c.lower, c.upper)) << c.name;
        for (const auto& [i, range] : c.bands) {
            EXPECT_EQ(colour.bandlo[i], range.first) << c.name << ", band " << i;
            EXPECT_EQ(colour.bandhi[i], range.second) << c.name << ", band " << i;
        }
        // Bands follow one another without gap, and the middle ones span step + 1 metres.
        for (int i = 1; i < kBandCount; ++i) EXPECT_EQ(colour.bandlo[i], colour.bandhi[i - 1] + 1) << c.name;
        for (int i = 1; i < kBandCount - 1; ++i)
            EXPECT_EQ(colour.bandhi[i] - colour.bandlo[i], c.step) << c.name << ", band " << i;
    }
}

TEST(UserBands, LimitsBeyondSixteenBitsLeaveTheTable) {
    const std::pair<std::int16_t, std::int16_t> limits[] = {{-32768, 32767}, {32000, 32767}, {-8200, 32767}};
    for (const auto& [lower, upper] : limits) {
        ColourState colour;
        initbands(colour);
        const ColourState before = colour;
        EXPECT_FALSE(userbandsFromLimits(colour, lower, upper)) << lower << ".." << upper;
        EXPECT_EQ(colour.bandlo, before.bandlo);
        EXPECT_EQ(colour.bandhi, before.bandhi);
    }
}

// Scheme 9 on the user's bands: equal band ends make the shading fail and give
// the start colour, and past the last band nothing is assigned.
TEST(UserBands, SchemeNineColoursTheUserBands) {
    const struct {
        const char* name;
        std::int16_t lower, upper, alt;
        std::int16_t R, G, B;
        std::size_t messages;
    } cases[] = {
        {"-8200 in a band with equal ends", -8200, 21250, -8200, 41, 57, 140, 1},
        {"21271 beyond band 14 selects nothing", -8200, 21250, 21271, 1, 2, 3, 0},
        {"a single-metre band", 20000, 20000, 20005, 132, 148, 123, 1},
        {"the last band, blended", 0, 7000, 21250, 222, 214, 189, 0},
    };
    for (const auto& c : cases) {
        HeadlessPlatform ui;
        Program p(ui);
        ASSERT_TRUE(userbandsFromLimits(p.colour, c.lower, c.upper));
        p.colour.mode = kBlended;
        p.colour.R = 1;
        p.colour.G = 2;
        p.colour.B = 3;
        Setcolours(p, kBandTableScheme, c.alt);
        EXPECT_EQ(p.colour.R, c.R) << c.name;
        EXPECT_EQ(p.colour.G, c.G) << c.name;
        EXPECT_EQ(p.colour.B, c.B) << c.name;
        ASSERT_EQ(ui.messages.size(), c.messages) << c.name;
        if (c.messages) {
            EXPECT_EQ(ui.messages[0].text.rfind("Function 'cmode': Division by zerou= 0\n", 0), 0u) << c.name;
        }
    }
}

}  // namespace
}  // namespace rubicel
