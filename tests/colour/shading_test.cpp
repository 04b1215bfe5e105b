// SPDX-License-Identifier: MIT
// shading_test.cpp: cmode's fractions in every mode, its warning and its error messages.
#include "colour/shading.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "colour/diagnostics.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {
namespace {

struct ShadingCase {
    const char* name;
    std::int16_t h1, h2, h3, mode;
    Fraction expected;
    std::vector<std::string> messages;
};

const ShadingCase kCases[] = {
    {"h1 equal to h2, contoured", 250, 250, 1000, kContoured, Fraction::zero(), {}},
    {"h1 equal to h2, blended", 250, 250, 1000, kBlended, Fraction::ofSingle(0.0f), {}},
    {"h1 equal to h2, square root", 250, 250, 1000, kSquareRoot, Fraction::ofDouble(0.0), {}},
    {"h1 equal to h2, squared", 250, 250, 1000, kSquared, Fraction::ofSingle(0.0f), {}},
    {"h1 equal to h3, blended", 1000, 0, 1000, kBlended, Fraction::ofSingle(1.0f), {}},
    {"h1 equal to h3, square root", 1000, 0, 1000, kSquareRoot, Fraction::ofDouble(1.0), {}},
    {"h1 equal to h3, squared", 1000, 0, 1000, kSquared, Fraction::ofSingle(1.0f), {}},
    {"one metre above the range warns and goes on", 21251, 7001, 21250, kBlended,
     Fraction::ofSingle(14250.0f / 14249.0f), {"h1%= 21251  h2%= 7001  h3%= 21250f= 1.0000702"}},
    {"contoured warns too and still gives 0", 21251, 7001, 21250, kContoured, Fraction::zero(),
     {"h1%= 21251  h2%= 7001  h3%= 21250f= 1.0000702"}},
    {"equal ends divide by zero", 5, 7, 7, kBlended, Fraction::none(),
     {"Function 'cmode': Division by zerou= 0\nh1%= 5h2%= 7h3%= 7"}},
    {"u = -0.25 blended", -250, 0, 1000, kBlended, Fraction::ofSingle(-0.25f), {}},
    {"u = -0.25 squared is positive", -250, 0, 1000, kSquared, Fraction::ofSingle(0.0625f), {}},
    {"u = -0.25 square root fails", -250, 0, 1000, kSquareRoot, Fraction::none(),
     {"Function 'cmode': Invalid procedure call or argumentu=-0.25\nh1%=-250h2%= 0h3%= 1000"}},
    {"u = 0.25 square root", 250, 0, 1000, kSquareRoot, Fraction::ofDouble(0.5), {}},
    {"u = 0.25 squared", 250, 0, 1000, kSquared, Fraction::ofSingle(0.0625f), {}},
    {"difference beyond 16 bits", -32768, 21250, 21251, kBlended, Fraction::none(),
     {"Function 'cmode': Overflowu= 0\nh1%=-32768h2%= 21250h3%= 21251"}},
    {"mode 4 gives no value", 250, 0, 1000, 4, Fraction::none(), {}},
    {"mode -1 gives no value", 250, 0, 1000, -1, Fraction::none(), {}},
};

class ShadingTest : public ::testing::TestWithParam<ShadingCase> {};

TEST_P(ShadingTest, FractionAndMessages) {
    const ShadingCase& c = GetParam();
    HeadlessPlatform ui;
    Program p(ui);
    MessageBoxSink sink(p, p.diagnostics);
    const Fraction f = cmode(c.h1, c.h2, c.h3, c.mode, sink);

    ASSERT_EQ(f.kind, c.expected.kind);
    if (f.kind == Fraction::Kind::Single) {
        EXPECT_EQ(f.single, c.expected.single);
    } else if (f.kind == Fraction::Kind::Double) {
        EXPECT_EQ(f.dbl, c.expected.dbl);
    }
    ASSERT_EQ(ui.messages.size(), c.messages.size());
    for (std::size_t i = 0; i < c.messages.size(); ++i) {
        EXPECT_EQ(ui.messages[i].text, c.messages[i]);
        EXPECT_EQ(ui.messages[i].title, "");  // the program's title
        EXPECT_EQ(ui.messages[i].icon, Icon::None);
    }
}

INSTANTIATE_TEST_SUITE_P(Cmode, ShadingTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});

// The square root is taken in double precision: sqrt(1/3) in single precision
// would lose the digits a double keeps.
TEST(Shading, SquareRootKeepsDoublePrecision) {
    RecordingSink sink;
    const Fraction f = cmode(1, 0, 3, kSquareRoot, sink);
    ASSERT_EQ(f.kind, Fraction::Kind::Double);
    EXPECT_EQ(f.dbl, std::sqrt(double(1.0f / 3.0f)));
    EXPECT_FALSE(sink.raised);
}

}  // namespace
}  // namespace rubicel
