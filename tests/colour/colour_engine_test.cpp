// SPDX-License-Identifier: MIT
// colour_engine_test.cpp: Setcolours on the schemes' worked colours, its error message and once-per-drawing messages.
#include "colour/colour_engine.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "colour/diagnostics.h"
#include "colour/scheme_tables.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {
namespace {

struct Rgb {
    std::int16_t R, G, B;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << c.R << ", " << c.G << ", " << c.B; }

// The colour left by the call before; a call that assigns nothing keeps it.
constexpr Rgb kPrevious{7, 8, 9};

struct ColourCase {
    const char* name;
    std::int16_t scheme, mode, alt;
    Rgb expected;
    std::size_t messages;
};

const ColourCase kCases[] = {
    {"scheme 0 contoured at -8200", 0, 0, -8200, {64, 64, 48}, 0},
    {"scheme 0 blended at -8200", 0, 1, -8200, {64, 64, 48}, 0},
    {"scheme 0 square root at -8200", 0, 2, -8200, {64, 64, 48}, 0},
    {"scheme 0 squared at -8200", 0, 3, -8200, {64, 64, 48}, 0},
    {"scheme 0 squared at 250 rounds halves to even", 0, 3, 250, {128, 112, 56}, 0},
    {"scheme 0 square root at 250", 0, 2, 250, {132, 116, 56}, 0},
    {"scheme 0 blended at -9000 extrapolates", 0, 1, -9000, {52, 58, 42}, 0},
    {"scheme 0 square root at -9000 fails to the start colour", 0, 2, -9000, {64, 64, 48}, 1},
    {"scheme 0 contoured inside a band is flat", 0, 0, 999, {128, 112, 56}, 0},
    {"scheme 4 blended at -3000, last ocean metre", 4, 1, -3000, {0, 32, 160}, 0},
    {"scheme 4 blended at -2999, first land metre", 4, 1, -2999, {0, 32, 159}, 0},
    {"scheme 7 blended at 3001", 7, 1, 3001, {156, 148, 132}, 0},
    {"scheme 2 at -8200", 2, 1, -8200, {41, 57, 140}, 0},
    {"scheme 7 at -8200", 7, 1, -8200, {41, 57, 140}, 0},
    {"scheme 5 contoured, first colour", 5, 0, -8200, {56, 49, 67}, 0},
    {"scheme 5 contoured, last colour", 5, 0, 21250, {208, 208, 228}, 0},
    {"scheme 0 above 21250 warns and extrapolates", 0, 1, 21251, {224, 224, 252}, 1},
    {"scheme 9 -5000 lies in band 0", 9, 0, -5000, {41, 57, 140}, 0},
    {"scheme 9 -4999 lies in band 0", 9, 0, -4999, {41, 57, 140}, 0},
    {"scheme 9 -4998 lies in band 1", 9, 0, -4998, {74, 82, 156}, 0},
    {"scheme 9 -8201 assigns nothing", 9, 1, -8201, kPrevious, 0},
    {"scheme 9 21251 assigns nothing", 9, 1, 21251, kPrevious, 0},
    {"scheme 6 assigns nothing", 6, 1, 0, kPrevious, 0},
    {"scheme -1 assigns nothing", -1, 1, 0, kPrevious, 0},
    {"scheme 10 assigns nothing", 10, 1, 0, kPrevious, 0},
    {"mode 4 gives the start colour", 0, 4, 250, {128, 112, 56}, 0},
};

class SetcoloursTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(SetcoloursTest, Colour) {
    const ColourCase& c = GetParam();
    HeadlessPlatform ui;
    Program p(ui);
    initbands(p.colour);
    p.colour.mode = c.mode;
    p.colour.R = kPrevious.R;
    p.colour.G = kPrevious.G;
    p.colour.B = kPrevious.B;
    Setcolours(p, c.scheme, c.alt);
    EXPECT_EQ((Rgb{p.colour.R, p.colour.G, p.colour.B}), c.expected);
    EXPECT_EQ(ui.messages.size(), c.messages);
}

INSTANTIATE_TEST_SUITE_P(Schemes, SetcoloursTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});

// start + increment x f is formed in the precision of f: single for blended and
// squared shading, double for the square root. Each case lands on a half in one
// precision and just off it in the other, so the two round apart.
TEST(Setcolours, ChannelsTakeThePrecisionOfTheFraction) {
    const struct {
        const char* name;
        std::int16_t scheme, mode, alt;
        std::int16_t Rgb::*channel;
        std::int16_t expected;
    } cases[] = {
        // 165 - 25 x 0.02f: 164.5 in single, which rounds to even; 164.50000001 in double.
        {"blended, single half rounds down", 1, kBlended, 20, &Rgb::R, 164},
        // 165 - 25 x 0.14f: 161.5 in single; 161.49999999 in double.
        {"blended, single half rounds up", 1, kBlended, 140, &Rgb::R, 162},
        // 156 - 14 x (423/1001)^2: 153.5 in single; 153.4999966 in double.
        {"squared", 2, kSquared, -6577, &Rgb::B, 154},
        // 165 - 25 x sqrt(0.01f): 162.50000003 in double; 162.5 in single.
        {"square root", 1, kSquareRoot, 10, &Rgb::R, 163},
    };
    for (const auto& c : cases) {
        HeadlessPlatform ui;
        Program p(ui);
        p.colour.mode = c.mode;
        Setcolours(p, c.scheme, c.alt);
        const Rgb colour{p.colour.R, p.colour.G, p.colour.B};
        EXPECT_EQ(colour.*c.channel, c.expected) << c.name;
        EXPECT_TRUE(ui.messages.empty()) << c.name;
    }
}

// A channel that does not fit 16 bits ends the assignment; the channels before
// it keep their new values. No real band gets there, so a made-up one does.
TEST(Setcolours, ChannelOverflowKeepsEarlierChannelsAndReports) {
    const struct {
        const char* name;
        BandColour band;
        Fraction f;
        Rgb expected;
        const char* text;
    } cases[] = {
        {"green overflows in single precision", {100, 100, 100, 1, 30000, 1}, Fraction::ofSingle(2.0f),
         {102, 8, 9}, "Module 'Setcolours'\nColour assignment error: Overflow\nf= 2\nR= 102  G= 8   B= 9\nalt= 7"},
        {"red overflows downwards in double precision", {0, 0, 0, -20000, 1, 1}, Fraction::ofDouble(1.75),
         {7, 8, 9}, "Module 'Setcolours'\nColour assignment error: Overflow\nf= 1.75\nR= 7  G= 8   B= 9\nalt= 7"},
        {"blue overflows after a half rounds to even", {0, 0, 32000, 1, 1, 1535}, Fraction::ofSingle(0.5f),
         {0, 0, 9}, "Module 'Setcolours'\nColour assignment error: Overflow\nf= 0.5\nR= 0  G= 0   B= 9\nalt= 7"},
    };
    for (const auto& c : cases) {
        HeadlessPlatform ui;
        Program p(ui);
        p.colour.R = kPrevious.R;
        p.colour.G = kPrevious.G;
        p.colour.B = kPrevious.B;
        MessageBoxSink sink(p, p.diagnostics);
        assignBandColour(p.colour, c.band, c.f, 7, sink);
        EXPECT_EQ((Rgb{p.colour.R, p.colour.G, p.colour.B}), c.expected) << c.name;
        ASSERT_EQ(ui.messages.size(), 1u) << c.name;
        EXPECT_EQ(ui.messages[0].text, c.text) << c.name;
        EXPECT_EQ(ui.messages[0].icon, Icon::None);
    }
}

// Each kind of message shows once per drawing, with the values of its first
// occurrence; the drawing goes on, and the next drawing shows it again.
TEST(Setcolours, EachKindOfMessageShowsOncePerDrawing) {
    HeadlessPlatform ui;
    Program p(ui);
    initbands(p.colour);
    p.colour.mode = kSquareRoot;
    p.diagnostics.beginDrawing();
    const std::int16_t drawing[] = {-9000, -9001, 21251, 250, -9500, 21300};
    for (std::int16_t alt : drawing) Setcolours(p, 0, alt);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Function 'cmode': Invalid procedure call or argumentu=-0.36347115\n"
                                   "h1%=-9000h2%=-8200h3%=-5999");
    EXPECT_EQ(ui.messages[1].text, "h1%= 21251  h2%= 7001  h3%= 21250f= 1.0000702");
    // The last call still coloured its pixel: 21300 lies above the range.
    EXPECT_EQ(p.colour.R, 224);

    p.diagnostics.beginDrawing();
    Setcolours(p, 0, -9500);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[2].text, "Function 'cmode': Invalid procedure call or argumentu=-0.5906406\n"
                                   "h1%=-9500h2%=-8200h3%=-5999");
}

}  // namespace
}  // namespace rubicel
