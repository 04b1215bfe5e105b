// SPDX-License-Identifier: MIT
// key_surface_test.cpp: the keys' layout in pixels, twips onto pixels, and the printed labels.
#include "keys/key_surface.h"

#include <gtest/gtest.h>

#include "keys/key_font.h"
#include "keys/key_painting.h"

namespace rubicel {
namespace {

TEST(KeyGeometry, PlacesFramesStripsAndLegendsInWholePixels) {
    struct Case {
        const char* name;
        const KeyLayout& layout;
        PixelRect client, frame, strip, legend;
    };
    const Case cases[] = {
        {"vertical", kVerticalKeyLayout, {0, 0, 125, 554}, {7, 0, 113, 549}, {71, 28, 33, 509}, {15, 16, 56, 523}},
        {"horizontal", kHorizontalKeyLayout, {0, 0, 786, 83}, {4, 0, 777, 81}, {28, 16, 745, 33}, {12, 51, 761, 25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const KeyGeometry g = keyGeometry(c.layout);
        EXPECT_EQ(g.client, c.client);
        EXPECT_EQ(g.frame, c.frame);
        EXPECT_EQ(g.strip, c.strip);
        EXPECT_EQ(g.legend, c.legend);
        EXPECT_EQ(g.stripInner, (PixelRect{c.strip.left + 1, c.strip.top + 1, c.strip.width - 2, c.strip.height - 2}));
    }
    // The vertical legend's right edge touches the strip's left edge.
    const KeyGeometry v = keyGeometry(kVerticalKeyLayout);
    EXPECT_EQ(v.legend.right(), v.strip.left);
}

TEST(KeySurface, TwipsFallOnPixelsAndTheLastDrawnShows) {
    struct Case {
        const char* name;
        int x, y, dx, dy;
        PixelRect expected;  // pixels set, relative to the surface
    };
    const Case cases[] = {
        {"row of 60 twips", 0, 0, 60, 0, {0, 0, 4, 1}},
        {"row from twip 14", 14, 20, 16, 0, {0, 1, 2, 1}},
        {"column of 60 twips", 130, 0, 0, 60, {8, 0, 1, 4}},
        {"column shorter than a pixel", 30, 5, 0, 5, {2, 0, 1, 1}},
        {"row past the surface", 0, 45, 1000, 0, {0, 3, 10, 1}},
        {"row below the surface", 0, 150, 30, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raster image;
        image.reset(12, 8, 0);
        KeySurface surface(image, {1, 1, 10, 6}, 150, 90);
        surface.line(c.x, c.y, c.dx, c.dy, 7);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int sx = x - 1, sy = y - 1;
                const bool inside = sx >= c.expected.left && sx < c.expected.right() && sy >= c.expected.top &&
                                    sy < c.expected.bottom();
                EXPECT_EQ(image.pixel(x, y), inside ? 7u : 0u) << x << "," << y;
            }
    }
}

TEST(KeyPainting, EachStripPixelShowsTheLastTwipDrawnOnIt) {
    struct Case {
        const char* name;
        const KeyLayout& layout;
        bool vertical;
    };
    for (const Case& c : {Case{"vertical", kVerticalKeyLayout, true}, Case{"horizontal", kHorizontalKeyLayout, false}}) {
        SCOPED_TRACE(c.name);
        Raster image;
        const KeyGeometry g = keyGeometry(c.layout);
        image.reset(g.client.width, g.client.height, kButtonFace);
        KeySurfaces s = keySurfaces(image, c.layout);
        int calls = 0;
        const auto colourOf = [&](std::int16_t) { return 0xFF000000u | std::uint32_t(++calls); };
        if (c.vertical)
            paintVerticalKey(s.strip, s.legend, nullptr, colourOf);
        else
            paintHorizontalKey(s.strip, s.legend, nullptr, colourOf);
        const PixelRect& in = g.stripInner;
        for (int y = 0; y < in.height; ++y)
            for (int x = 0; x < in.width; ++x) {
                // Vertical: row y holds twips 15y..15y+14 from the top, count = h - t,
                // highest at t = 15y. Horizontal: column x holds counts 15x..15x+14.
                const int count = c.vertical ? c.layout.strip.height - 15 * y : 15 * x + 14;
                ASSERT_EQ(image.pixel(in.left + x, in.top + y), 0xFF000000u | std::uint32_t(count)) << x << "," << y;
            }
    }
}

TEST(KeyFont, PrintsInkOnlyWithinItsLineAndClip) {
    std::string error;
    const KeyFont* font = KeyFont::shared(&error);
    ASSERT_NE(font, nullptr) << error;
    const auto missing = KeyFont::load("/nonexistent/LiberationSans-Regular.ttf", KeyFont::kPixelSize, error);
    EXPECT_EQ(missing, nullptr);
    EXPECT_NE(error.find("/nonexistent/LiberationSans-Regular.ttf"), std::string::npos);

    struct Case { const char* text; int x, y; KeyFont::Clip clip; };
    const Case cases[] = {
        {"-8200 m ...", 2, 3, {0, 0, 100, 30}},
        {"zero m ...", 10, 0, {0, 0, 30, 30}},   // clipped on the right
        {"20000 m", 0, 20, {0, 0, 100, 26}},     // clipped at the bottom
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Raster image;
        image.reset(100, 30, 0);
        font->draw(image, c.x, c.y, c.text, 1, c.clip);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == 1) {
                    ++inked;
                    EXPECT_GE(y, c.y);
                    EXPECT_LT(y, c.y + font->lineHeight());
                    EXPECT_GE(x, c.x);
                    EXPECT_LT(x, c.clip.right);
                    EXPECT_LT(y, c.clip.bottom);
                }
        EXPECT_GT(inked, 10);
        // Printing again at the same place changes nothing.
        Raster again = image;
        font->draw(again, c.x, c.y, c.text, 1, c.clip);
        EXPECT_TRUE(std::equal(again.data(), again.data() + 3000, image.data()));
    }
}

}  // namespace
}  // namespace rubicel
