// SPDX-License-Identifier: MIT
// map_view_test.cpp: scroll-bar layout, visibility, bar positions and the picture's size.
#include "maps/map_view.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {
namespace {

struct View : ::testing::Test {
    HeadlessPlatform ui;
    Program p{ui};
};

TEST_F(View, BarsShowWhenThePictureIsLargerThanTheWindow) {
    const struct {
        const char* name;
        std::int32_t W, H;
        TwipSize outer;
        bool hbar, vbar, corner;
    } cases[] = {
        {"960x480 map, window 12000x9000", 14400, 7200, {12000, 9000}, true, false, false},
        {"960x480 map, window 12000x6000", 14400, 7200, {12000, 6000}, true, true, true},
        {"taller only", 9000, 9001, {12000, 9000}, false, true, true},
        {"fits", 9000, 6000, {12000, 9000}, false, false, false},
        {"exactly the window's size", 12000, 9000, {12000, 9000}, false, false, false},
        {"more than 16 bits of twips", 70000, 40000, {12000, 9000}, true, true, true},
    };
    for (const auto& c : cases) {
        ui.outer = c.outer;
        checksize(p, c.W, c.H);
        EXPECT_EQ(ui.visible(Control::Hscrbar), c.hbar) << c.name;
        EXPECT_EQ(ui.visible(Control::Vscrbar), c.vbar) << c.name;
        EXPECT_EQ(ui.visible(Control::Corner), c.corner) << c.name;
    }
}

TEST_F(View, MovingABarSetsItsMaximumAndThePictureOffset) {
    const struct {
        const char* name;
        int picture, client, value;
        int maximum, offset;
    } cases[] = {
        {"client 10000, picture 14400, at the end", 14400, 10000, 440, 440, -4400},
        {"part way", 14400, 10000, 100, 440, -1000},
        {"half rounds down to even", 10025, 10000, 2, 2, -20},
        {"half rounds up to even", 10035, 10000, 4, 4, -40},
        {"value above a smaller maximum is pulled down", 10500, 10000, 440, 50, -500},
        {"picture narrower than the client area", 9000, 10000, 0, -100, 0},
    };
    for (const auto& c : cases) {
        ui.client = {c.client, c.client};
        p.dmap.widthTwips = c.picture;
        p.dmap.heightTwips = c.picture;
        ui.setScrollValue(Control::Hscrbar, c.value);
        ui.setScrollValue(Control::Vscrbar, c.value);
        Hscrbar_Change(p);
        Vscrbar_Change(p);
        EXPECT_EQ(ui.scrollMaximum(Control::Hscrbar), c.maximum) << c.name;
        EXPECT_EQ(ui.scrollMaximum(Control::Vscrbar), c.maximum) << c.name;
        EXPECT_EQ(p.dmap.left, c.offset) << c.name;
        EXPECT_EQ(p.dmap.top, c.offset) << c.name;
        EXPECT_EQ(ui.controlRect(Control::Dmap), (TwipRect{c.offset, c.offset, c.picture, c.picture})) << c.name;
    }
}

TEST_F(View, LayoutPutsTheBarsAlongTheEdges) {
    ui.client = {12000, 9000};
    ui.rects[Control::Hscrbar] = {5, 5, 100, 255};
    ui.rects[Control::Vscrbar] = {5, 5, 255, 100};
    mapscroll(p);
    EXPECT_EQ(ui.controlRect(Control::Hscrbar), (TwipRect{0, 8745, 11745, 255}));
    EXPECT_EQ(ui.controlRect(Control::Vscrbar), (TwipRect{11745, 0, 255, 8745}));
    EXPECT_EQ(ui.controlRect(Control::Corner), (TwipRect{11745, 8745, 255, 255}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(View, LayoutInATooSmallWindowStopsAtTheFailingStep) {
    const struct {
        const char* name;
        TwipSize client;
        TwipRect hbar, vbar, corner;
    } cases[] = {
        // The bar's width would be negative: nothing after the bar's top is laid out.
        {"narrower than the vertical bar", {200, 9000}, {0, 8745, 100, 255}, {5, 5, 255, 100}, {}},
        // The vertical bar's height would be negative: its height and the corner's place stay.
        {"lower than the horizontal bar", {12000, 200}, {0, -55, 11745, 255}, {11745, 0, 255, 100}, {0, 0, 255, 255}},
    };
    for (const auto& c : cases) {
        HeadlessPlatform small;
        Program q(small);
        small.client = c.client;
        small.rects[Control::Hscrbar] = {5, 5, 100, 255};
        small.rects[Control::Vscrbar] = {5, 5, 255, 100};
        mapscroll(q);
        ASSERT_EQ(small.messages.size(), 1u) << c.name;
        EXPECT_EQ(small.messages[0].text, "Module 'MapScroll': Invalid property value") << c.name;
        EXPECT_EQ(small.messages[0].title, "") << c.name;
        EXPECT_EQ(small.messages[0].icon, Icon::None) << c.name;
        EXPECT_EQ(small.controlRect(Control::Hscrbar), c.hbar) << c.name;
        EXPECT_EQ(small.controlRect(Control::Vscrbar), c.vbar) << c.name;
        EXPECT_EQ(small.controlRect(Control::Corner), c.corner) << c.name;
    }
}

TEST_F(View, PictureSizeIsInTwipsAndItsPixelsAreWholeFifteenths) {
    const struct {
        std::int32_t W, H;
        int width, height;
    } cases[] = {{14400, 7200, 960, 480}, {7199, 3600, 479, 240}, {13291, 6646, 886, 443}, {14, 29, 0, 1}, {0, 0, 0, 0}};
    for (const auto& c : cases) {
        p.dmap.left = -300;
        sizeMapPicture(p, c.W, c.H);
        EXPECT_EQ(p.dmap.image.width(), c.width) << c.W;
        EXPECT_EQ(p.dmap.image.height(), c.height) << c.H;
        EXPECT_EQ(ui.controlRect(Control::Dmap), (TwipRect{-300, 0, c.W, c.H}));
        for (int y = 0; y < c.height; y += 97)
            for (int x = 0; x < c.width; x += 89) ASSERT_EQ(p.dmap.image.pixel(x, y), kPictureBackground);
    }
    EXPECT_EQ(ui.imageResets, 5);
}

// A rendering only sizes the picture, so a redraw stopped part-way leaves the
// earlier map below the rows it reached; what a new size adds is background.
TEST_F(View, SizingKeepsWhatIsDrawnWhereOldAndNewSizesOverlap) {
    const struct {
        std::int32_t W, H;
    } cases[] = {{150, 120}, {180, 150}, {90, 60}, {60, 180}, {0, 0}};
    for (const auto& c : cases) {
        sizeMapPicture(p, 150, 120);
        Raster& image = p.dmap.image;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, packRgb(x, y, 7));
        sizeMapPicture(p, c.W, c.H);
        ASSERT_EQ(image.width(), c.W / 15) << c.W;
        ASSERT_EQ(image.height(), c.H / 15) << c.H;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(image.pixel(x, y), x < 10 && y < 8 ? packRgb(x, y, 7) : kPictureBackground)
                    << c.W << "x" << c.H << " at " << x << "," << y;
    }
}

TEST_F(View, ClearingAndMovingThePicture) {
    sizeMapPicture(p, 150, 150);
    p.dmap.image.setPixel(3, 4, packRgb(10, 20, 30));
    clearMapPicture(p);
    EXPECT_EQ(p.dmap.image.pixel(3, 4), kPictureBackground);
    EXPECT_EQ(p.dmap.image.width(), 10);
    moveMapPicture(p, 0, 0);
    EXPECT_EQ(ui.controlRect(Control::Dmap), (TwipRect{0, 0, 150, 150}));
    EXPECT_EQ(ui.imageResets, 2);
}

}  // namespace
}  // namespace rubicel
