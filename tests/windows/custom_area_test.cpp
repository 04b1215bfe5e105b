// SPDX-License-Identifier: MIT
// custom_area_test.cpp: reading the boxes, the four change checks and "&Draw Map".
#include "windows/custom_area.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// ---------------------------------------------------------------- reading

struct ReadCase {
    const char* name;
    const char* text;
    std::optional<int> expected;  // nothing: out of range
};

class ReadBoxNumber : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadBoxNumber, ReadsTheLeadingNumber) {
    const ReadCase& c = GetParam();
    const auto v = readBoxNumber(c.text);
    ASSERT_EQ(v.has_value(), c.expected.has_value()) << c.text;
    if (v) {
        EXPECT_EQ(int(*v), *c.expected) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadBoxNumber,
    testing::Values(
        ReadCase{"half_down_to_even", "12.5", 12}, ReadCase{"half_up_to_even", "13.5", 14},
        ReadCase{"negative_half_to_even", "-2.5", -2}, ReadCase{"point_five_to_zero", ".5", 0},
        ReadCase{"one_point_five", "1.5", 2}, ReadCase{"just_above_half", "12.51", 13},
        ReadCase{"letters_read_zero", "abc", 0}, ReadCase{"empty_reads_zero", "", 0},
        ReadCase{"blanks_sign_exponent_then_stop", " -3e1x", -30}, ReadCase{"tab_then_digits", "\t4", 4},
        ReadCase{"plus_sign", "+7", 7}, ReadCase{"trailing_point", "5.", 5},
        ReadCase{"digits_then_letters", "12abc", 12}, ReadCase{"second_point_ends", "1.2.3", 1},
        ReadCase{"blank_after_sign_ends", "- 4", 0}, ReadCase{"inner_blank_ends", "1 2", 1},
        ReadCase{"exponent_without_digits", "1e", 1}, ReadCase{"exponent_sign_without_digits", "1e+x", 1},
        ReadCase{"capital_exponent", "2E2", 200}, ReadCase{"point_then_exponent", "5.e1", 50},
        ReadCase{"fraction_then_exponent", ".5e1", 5}, ReadCase{"leading_zeros", "007", 7}, ReadCase{"negative_exponent", "1500e-2", 15},
        ReadCase{"small_fraction_with_exponent", "0.0000001e7", 1}, ReadCase{"zeros_with_huge_exponent", "0e999", 0},
        ReadCase{"tiny_reads_zero", "1e-999", 0}, ReadCase{"negative_tiny", "-4e-3", 0},
        ReadCase{"sixteen_bit_top", "32767", 32767}, ReadCase{"sixteen_bit_bottom", "-32768", -32768},
        ReadCase{"rounds_past_top", "32767.5", std::nullopt}, ReadCase{"just_past_top", "32768", std::nullopt},
        ReadCase{"huge_exponent", "1e999", std::nullopt}, ReadCase{"negative_huge", "-1e999", std::nullopt},
        ReadCase{"many_digits", "100000000000000000000000000000", std::nullopt},
        ReadCase{"exponent_beyond_any_integer", "1e99999999999999999999999", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- change checks

class GetAreaTest : public testing::Test {
protected:
    HeadlessPlatform ui;
    Program p{ui};

    void type(AreaBox box, const std::string& text) { setBoxText(p, box, text); }
    const std::string& text(AreaBox box) const { return p.getArea.text[int(box)]; }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : ui.messages) texts.push_back(m.text);
        return texts;
    }
};

struct CentreCase {
    const char* name;
    AreaBox box;
    const char* text;
    bool accepted;
    int stored;  // the centre value afterwards
};

class CentreCheck : public GetAreaTest, public testing::WithParamInterface<CentreCase> {};

TEST_P(CentreCheck, StoresOrRefuses) {
    const CentreCase& c = GetParam();
    const int slot = c.box == AreaBox::longw ? 0 : 1;
    p.map.maparea[slot] = 33;  // an earlier value that a refusal must not leave behind
    type(c.box, c.text);
    EXPECT_EQ(p.map.maparea[slot], c.stored);
    if (c.accepted) {
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(text(c.box), c.text);
    } else {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, slot == 0 ? "Value must lie between -180 and +180 degrees"
                                                 : "Value must lie between -85 and +85 degrees");
        EXPECT_EQ(ui.messages[0].title, "INVALID ENTRY");
        EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
        EXPECT_EQ(text(c.box), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Centres, CentreCheck,
    testing::Values(CentreCase{"longitude_181_refused", AreaBox::longw, "181", false, 0},
                    CentreCase{"longitude_180_kept", AreaBox::longw, "180", true, 180},
                    CentreCase{"longitude_minus_180_kept", AreaBox::longw, "-180", true, -180},
                    CentreCase{"longitude_minus_181_refused", AreaBox::longw, "-181", false, 0},
                    CentreCase{"longitude_180_4_rounds_in", AreaBox::longw, "180.4", true, 180},
                    CentreCase{"longitude_huge_refused", AreaBox::longw, "1e999", false, 0},
                    CentreCase{"longitude_text_reads_zero", AreaBox::longw, "east", true, 0},
                    CentreCase{"latitude_85_kept", AreaBox::latn, "85", true, 85},
                    CentreCase{"latitude_minus_85_kept", AreaBox::latn, "-85", true, -85},
                    CentreCase{"latitude_86_refused", AreaBox::latn, "86", false, 0},
                    CentreCase{"latitude_85_5_rounds_to_86", AreaBox::latn, "85.5", false, 0},
                    CentreCase{"latitude_minus_86_refused", AreaBox::latn, "-86", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct SpanCase {
    const char* name;
    int centre;         // centre latitude stored before the span is typed
    AreaBox box;
    const char* text;
    const char* message;  // nothing expected when null
    Icon icon;
    int half;           // halfwidth or halfheight afterwards
};

class SpanCheck : public GetAreaTest, public testing::WithParamInterface<SpanCase> {};

TEST_P(SpanCheck, StoresHalfOrRefuses) {
    const SpanCase& c = GetParam();
    p.map.maparea[1] = static_cast<std::int16_t>(c.centre);
    p.getArea.halfwidth = p.getArea.halfheight = 9;
    type(c.box, c.text);
    const int half = c.box == AreaBox::longwid ? p.getArea.halfwidth : p.getArea.halfheight;
    EXPECT_EQ(half, c.half);
    if (!c.message) {
        EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
        EXPECT_EQ(text(c.box), c.text);
        return;
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, c.message);
    EXPECT_EQ(ui.messages[0].icon, c.icon);
    EXPECT_EQ(ui.messages[0].title, c.icon == Icon::Critical ? "INVALID ENTRY" : "");
    EXPECT_EQ(text(c.box), "");
    EXPECT_EQ(p.map.maparea[1], c.centre);
}

constexpr const char* kLatSpan = "Latitude span must lie between 0\u00b0 and 50\u00b0";
constexpr const char* kLongSpan = "Longitude span must lie beween 0\u00b0 and 50\u00b0";

INSTANTIATE_TEST_SUITE_P(
    Spans, SpanCheck,
    testing::Values(
        SpanCase{"north_85_span_10_reaches_pole", 85, AreaBox::lathgt, "10", nullptr, Icon::None, 5},
        SpanCase{"north_85_span_11_past_pole", 85, AreaBox::lathgt, "11",
                 "Maximum height for a map centred on 85 is 10 degrees", Icon::None, 0},
        SpanCase{"south_85_span_11_past_pole", -85, AreaBox::lathgt, "11",
                 "Maximum height for a map centred on -85 is 10 degrees", Icon::None, 0},
        SpanCase{"south_85_span_10", -85, AreaBox::lathgt, "10", nullptr, Icon::None, 5},
        SpanCase{"centre_70_span_40", 70, AreaBox::lathgt, "40", nullptr, Icon::None, 20},
        SpanCase{"centre_70_span_41", 70, AreaBox::lathgt, "41",
                 "Maximum height for a map centred on 70 is 40 degrees", Icon::None, 0},
        SpanCase{"stale_centre_90_allows_nothing", 90, AreaBox::lathgt, "2",
                 "Maximum height for a map centred on 90 is 0 degrees", Icon::None, 0},
        SpanCase{"latitude_span_51", 0, AreaBox::lathgt, "51", kLatSpan, Icon::Critical, 0},
        SpanCase{"latitude_span_minus_1", 0, AreaBox::lathgt, "-1", kLatSpan, Icon::Critical, 0},
        SpanCase{"latitude_span_huge", 0, AreaBox::lathgt, "1e999", kLatSpan, Icon::Critical, 0},
        SpanCase{"latitude_span_50", 0, AreaBox::lathgt, "50", nullptr, Icon::None, 25},
        SpanCase{"odd_span_widens", 0, AreaBox::lathgt, "21", nullptr, Icon::None, 11},
        SpanCase{"latitude_span_0", 0, AreaBox::lathgt, "0", nullptr, Icon::None, 0},
        SpanCase{"longitude_span_51", 0, AreaBox::longwid, "51", kLongSpan, Icon::Critical, 0},
        SpanCase{"longitude_span_minus_1", 0, AreaBox::longwid, "-1", kLongSpan, Icon::Critical, 0},
        SpanCase{"longitude_span_50", 0, AreaBox::longwid, "50", nullptr, Icon::None, 25},
        SpanCase{"longitude_span_rounded", 0, AreaBox::longwid, "20.5", nullptr, Icon::None, 10},
        SpanCase{"longitude_span_ignores_pole", 85, AreaBox::longwid, "40", nullptr, Icon::None, 20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GetAreaTest, PoleTestUsesTheCentreStoredWhenTheSpanIsTyped) {
    type(AreaBox::latn, "60");
    type(AreaBox::lathgt, "50");
    type(AreaBox::latn, "80");  // not checked against the span again
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(p.getArea.halfheight, 25);
    EXPECT_EQ(p.map.maparea[1], 80);
}

TEST_F(GetAreaTest, EmptyingRunsTheCheckAgainBeforeTheFirstRunEnds) {
    p.map.maparea[0] = 50;
    std::vector<std::string> textDuringMessage;
    std::vector<int> centreDuringMessage;
    ui.echo = [&](const HeadlessPlatform::Message&) {
        textDuringMessage.push_back(text(AreaBox::longw));
        centreDuringMessage.push_back(p.map.maparea[0]);
    };
    const int changesBefore = ui.formChanges[Form::GetArea];
    type(AreaBox::longw, "200");
    // The message comes while the refused text is still in the box and nothing
    // was stored; then the box is emptied, the nested check stores 0 and the
    // first run stores nothing after it.
    EXPECT_EQ(textDuringMessage, std::vector<std::string>{"200"});
    EXPECT_EQ(centreDuringMessage, std::vector<int>{50});
    EXPECT_EQ(ui.formChanges[Form::GetArea] - changesBefore, 2);
    EXPECT_EQ(text(AreaBox::longw), "");
    EXPECT_EQ(p.map.maparea[0], 0);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(GetAreaTest, MaximumHeightRefusalLeavesHalfHeightZero) {
    p.map.maparea[1] = 85;
    std::vector<int> halfDuringMessage;
    ui.echo = [&](const HeadlessPlatform::Message&) { halfDuringMessage.push_back(p.getArea.halfheight); };
    type(AreaBox::lathgt, "30");
    // Stored at once, then refused and emptied: the nested run stores 0.
    EXPECT_EQ(halfDuringMessage, std::vector<int>{15});
    EXPECT_EQ(p.getArea.halfheight, 0);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(GetAreaTest, ClicksEmptyEachBox) {
    const std::vector<std::pair<AreaBox, void (*)(Program&)>> clicks = {
        {AreaBox::longw, longw_Click}, {AreaBox::latn, latn_Click},
        {AreaBox::longwid, longwid_Click}, {AreaBox::lathgt, lathgt_Click}};
    type(AreaBox::longw, "40");
    type(AreaBox::latn, "20");
    type(AreaBox::longwid, "10");
    type(AreaBox::lathgt, "10");
    for (const auto& [box, click] : clicks) {
        click(p);
        EXPECT_EQ(text(box), "");
    }
    EXPECT_EQ(p.map.maparea[0], 0);
    EXPECT_EQ(p.map.maparea[1], 0);
    EXPECT_EQ(p.getArea.halfwidth, 0);
    EXPECT_EQ(p.getArea.halfheight, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GetAreaTest, OpensWithoutResetAndFocusesLongitude) {
    p.getArea.halfwidth = 7;
    p.getArea.text[int(AreaBox::latn)] = "12";
    m_custom_Click(p);
    GetArea_Form_Activate(p);
    EXPECT_TRUE(ui.formShown[Form::GetArea]);
    EXPECT_EQ(ui.focus.first, Form::GetArea);
    EXPECT_EQ(ui.focus.second, "longw");
    EXPECT_EQ(p.getArea.halfwidth, 7);
    EXPECT_EQ(text(AreaBox::latn), "12");
}

// ---------------------------------------------------------------- "&Draw Map"

// Four blank full-size tiles in a scratch folder, so that a drawing runs.
class DrawMapTest : public GetAreaTest {
protected:
    test::TempDir dir;

    void SetUp() override {
        test::makeSparseTileSet(dir.path());
        for (const auto& name : test::kTileNames) p.File1.push_back(name);
        p.map.datafolder = dir.folder();
        p.map.resolution = 24;
        p.map.mapsource = kFromArea;
    }
};

struct DrawCase {
    const char* name;
    const char* longitude;
    const char* latitude;
    const char* longitudeSpan;
    const char* latitudeSpan;
    std::array<int, 4> limits;  // west, north, east, south afterwards
    bool drawn;
};

class DrawMap : public DrawMapTest, public testing::WithParamInterface<DrawCase> {};

TEST_P(DrawMap, TurnsCentreAndSpansIntoLimits) {
    const DrawCase& c = GetParam();
    m_custom_Click(p);
    type(AreaBox::longw, c.longitude);
    type(AreaBox::latn, c.latitude);
    type(AreaBox::longwid, c.longitudeSpan);
    type(AreaBox::lathgt, c.latitudeSpan);
    ASSERT_TRUE(ui.messages.empty());
    okbox_Click(p);

    EXPECT_FALSE(ui.formShown[Form::GetArea]);
    const std::array<int, 4> limits = {p.map.maparea[0], p.map.maparea[1], p.map.maparea[2], p.map.maparea[3]};
    EXPECT_EQ(limits, c.limits);
    if (c.drawn) {
        EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
        EXPECT_FALSE(p.dmap.image.empty());
        EXPECT_NE(ui.caption(MenuControl::prcent).find("long: " + std::to_string(c.limits[0]) + "\u00b0 to " +
                                            std::to_string(c.limits[2]) + "\u00b0"),
                  std::string::npos)
            << ui.caption(MenuControl::prcent);
    } else {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "You must enter positive values for both Width and Height");
        EXPECT_EQ(ui.messages[0].title, "");
        EXPECT_EQ(ui.messages[0].icon, Icon::None);
        EXPECT_TRUE(p.dmap.image.empty());
        EXPECT_EQ(ui.caption(MenuControl::prcent), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, DrawMap,
    testing::Values(DrawCase{"inside_one_tile", "40", "20", "10", "10", {35, 25, 45, 15}, true},
                    DrawCase{"east_past_180", "180", "0", "50", "20", {155, 10, 205, -10}, true},
                    DrawCase{"centre_170_span_40", "170", "-20", "40", "10", {150, -15, 190, -25}, true},
                    DrawCase{"west_below_minus_180_shifts", "-170", "30", "40", "20", {170, 40, 210, 20}, true},
                    DrawCase{"north_pole_reached", "0", "85", "10", "10", {-5, 90, 5, 80}, true},
                    DrawCase{"both_spans_zero", "10", "10", "0", "0", {10, 10, 10, 10}, false},
                    DrawCase{"width_zero", "10", "10", "0", "20", {10, 20, 10, 0}, false},
                    DrawCase{"height_zero", "-175", "10", "20", "0", {175, 10, 195, 10}, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rubicel
