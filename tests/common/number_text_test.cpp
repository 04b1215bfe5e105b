// SPDX-License-Identifier: MIT
// number_text_test.cpp: the number formats of messages.
#include "common/number_text.h"

#include <gtest/gtest.h>

namespace rubicel {
namespace {

TEST(NumberText, SignedIntegersCarryASpaceOrAMinus) {
    EXPECT_EQ(signedText(0LL), " 0");
    EXPECT_EQ(signedText(5LL), " 5");
    EXPECT_EQ(signedText(-5LL), "-5");
    EXPECT_EQ(signedText(-32768LL), "-32768");
    EXPECT_EQ(plainText(-7LL), "-7");
}

TEST(NumberText, FractionsUseTheShortestFormThatReadsBack) {
    EXPECT_EQ(signedText(0.25f), " 0.25");
    EXPECT_EQ(signedText(-0.25f), "-0.25");
    EXPECT_EQ(signedText(1.0f), " 1");
}

TEST(NumberText, MessagesJoinLinesWithLineFeeds) {
    const std::string text = MessageText("Module 'Drawtile' - ").add("x").newline().line("x=", 3).add("   ").line("y=", -1).str();
    EXPECT_EQ(text, "Module 'Drawtile' - x\nx= 3   y=-1");
}

}  // namespace
}  // namespace rubicel
