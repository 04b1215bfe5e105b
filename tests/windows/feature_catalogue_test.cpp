// SPDX-License-Identifier: MIT
// feature_catalogue_test.cpp: the Map Area menu: opening it, choosing features, clearing ticks.
#include "windows/feature_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "windows/program.h"

namespace rubicel {
namespace {

using Handler = void (*)(Program&, std::int16_t);

// The feature item arrays and the tile items that untickfeatures clears.
struct ItemArray {
    MenuControl name;
    int count;
};
constexpr std::array<ItemArray, 6> kClearedItems = {
    {{MenuControl::m_p, 12}, {MenuControl::m_ct, 9}, {MenuControl::m_c, 16}, {MenuControl::m_m, 16}, {MenuControl::m_v, 19}, {MenuControl::m_tile, 5}}};

// Four full-size tiles of elevation 0, sparse on disk, in datafolder.
class FeatureMenuTest : public testing::Test {
protected:
    FeatureMenuTest() {
        test::makeSparseTileSet(data.path());
        p.File1.assign(test::kTileNames.begin(), test::kTileNames.end());
        p.map.datafolder = data.folder();
    }

    int tickCount() const {
        int ticked = 0;
        for (const auto& [key, state] : ui.menus) ticked += state.checked;
        return ticked;
    }

    test::TempDir data;
    HeadlessPlatform ui;
    Program p{ui};
};

TEST_F(FeatureMenuTest, UntickfeaturesClearsEveryFeatureAndTheTileItemsButNotEntirePlanet) {
    for (const ItemArray& items : kClearedItems)
        for (int i = 0; i < items.count; ++i) ui.setMenuChecked(MenuId{items.name, i}, true);
    ui.setMenuChecked(MenuId{MenuControl::m_tile, 5}, true);
    ui.setMenuChecked(MenuId{MenuControl::m_tile, 6}, true);
    ui.setMenuChecked(MenuId{MenuControl::m_siz, 4}, true);

    untickfeatures(p);

    for (const ItemArray& items : kClearedItems) {
        // The two "Entire Planet" items beyond the cleared tile items keep their marks.
        const bool tiles = items.name == MenuControl::m_tile;
        const std::vector<int> kept = tiles ? std::vector<int>{5, 6} : std::vector<int>{};
        EXPECT_EQ(ui.checkedIndexes(items.name), kept) << menuControlName(items.name);
    }
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), (std::vector<int>{4}));
    EXPECT_EQ(ui.menus.size(), 72u + 5u + 2u + 1u) << "no item beyond the arrays is touched";
}

TEST_F(FeatureMenuTest, OpeningMapAreaPreparesAnAutomaticAreaMapAndErasesThePicture) {
    p.map.mapsource = kFromTile;
    p.map.resolution = 13;
    p.map.stopflag = 1;
    p.map.autoresolution = 0;
    p.map.areaclass = kSingleTile;
    ui.setMenuChecked(MenuId{MenuControl::m_siz, 1}, true);
    p.dmap.widthTwips = 7199;
    p.dmap.heightTwips = 3600;
    p.dmap.left = -1500;
    p.dmap.top = -300;
    p.dmap.image.reset(479, 240, packRgb(1, 2, 3));

    m_area_Click(p);

    EXPECT_EQ(p.map.mapsource, kFromArea);
    EXPECT_EQ(p.map.resolution, 4);
    EXPECT_EQ(p.map.stopflag, 0);
    EXPECT_EQ(p.map.autoresolution, 1);
    EXPECT_EQ(p.map.areaclass, kAreaMap);
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz), (std::vector<int>{4}));
    // The picture keeps its size, so Save Map now writes a blank picture of it.
    EXPECT_EQ(p.dmap.widthTwips, 7199);
    EXPECT_EQ(p.dmap.heightTwips, 3600);
    ASSERT_EQ(p.dmap.image.width(), 479);
    ASSERT_EQ(p.dmap.image.height(), 240);
    EXPECT_EQ(std::count(p.dmap.image.data(), p.dmap.image.data() + 479 * 240, kPictureBackground), 479 * 240);
    EXPECT_EQ(p.dmap.left, 0);
    EXPECT_EQ(p.dmap.top, 0);
}

struct ChoiceCase {
    const char* name;
    Handler handler;
    MenuControl items;
    std::int16_t index;
    std::array<std::int16_t, 4> box;  // west, north, east, south
};

class FeatureChoice : public FeatureMenuTest, public testing::WithParamInterface<ChoiceCase> {};

TEST_P(FeatureChoice, DrawsTheBoxAndTicksOnlyThatItem) {
    const ChoiceCase& c = GetParam();
    ui.setMenuChecked(MenuId{MenuControl::m_tile, 2}, true);
    ui.setMenuChecked(MenuId{MenuControl::m_ct, 0}, true);
    m_area_Click(p);

    c.handler(p, c.index);

    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    EXPECT_EQ(p.map.maparea, c.box);
    EXPECT_EQ(p.map.autoresolution, 0) << "the box chose its own step";
    EXPECT_EQ(ui.checkedIndexes(c.items), (std::vector<int>{c.index}));
    EXPECT_TRUE(ui.checkedIndexes(MenuControl::m_tile).empty());
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_siz).size(), 1u);
    EXPECT_EQ(tickCount(), 2) << "the feature and one Resolution item";
}

INSTANTIATE_TEST_SUITE_P(
    Submenus, FeatureChoice,
    testing::Values(ChoiceCase{"isidis", m_p_Click, MenuControl::m_p, 8, {75, 28, 100, 0}},
                    ChoiceCase{"thaumasia_planum", m_ct_Click, MenuControl::m_ct, 7, {-74, -13, -57, -31}},
                    ChoiceCase{"victoria", m_c_Click, MenuControl::m_c, 15, {-7, 0, -3, -4}},
                    ChoiceCase{"orcus_patera_across_180", m_c_Click, MenuControl::m_c, 13, {170, 20, 190, 10}},
                    ChoiceCase{"cydonia_face", m_m_Click, MenuControl::m_m, 4, {-11, 42, -7, 38}},
                    ChoiceCase{"nirgal_vallis", m_v_Click, MenuControl::m_v, 12, {-47, -25, -32, -32}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FeatureMenuTest, ASecondChoiceMovesTheTick) {
    m_area_Click(p);
    m_v_Click(p, 18);  // "Valles Marineris"
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_v), (std::vector<int>{18}));
    m_v_Click(p, 4);   // "Kasei Valles"
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_v), (std::vector<int>{4}));
    m_c_Click(p, 4);   // "Gusev"
    EXPECT_TRUE(ui.checkedIndexes(MenuControl::m_v).empty());
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_c), (std::vector<int>{4}));
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{172, -12, 179, -21}));
}

TEST_F(FeatureMenuTest, AStoppedDrawingStillTicksItsItem) {
    m_area_Click(p);
    ui.setMenuChecked(MenuId{MenuControl::m_c, 7}, false);
    bool tickedWhileDrawing = true;
    ui.onYield = [&](int yield) {
        tickedWhileDrawing = ui.checked(MenuControl::m_c, 7);
        if (yield == 1) p.map.stopflag = 1;
    };
    m_c_Click(p, 7);  // "Hooke"
    EXPECT_FALSE(tickedWhileDrawing) << "the tick comes after the drawing";
    EXPECT_EQ(ui.yields, 1);
    EXPECT_EQ(p.map.stopflag, 0);
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{-47, -42, -41, -48}));
    EXPECT_EQ(ui.checkedIndexes(MenuControl::m_c), (std::vector<int>{7}));
}

}  // namespace
}  // namespace rubicel
