// SPDX-License-Identifier: MIT
// key_surface.h: the colour keys' windows as pixels: layout in twips, frames, and drawing surfaces.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/raster.h"
#include "platform/platform.h"

namespace rubicel {

class KeyFont;

// System colours of the key windows.
inline constexpr std::uint32_t kButtonFace = packRgb(240, 240, 240);
inline constexpr std::uint32_t kWindowText = packRgb(0, 0, 0);
inline constexpr std::uint32_t kWindowBackground = packRgb(255, 255, 255);
inline constexpr std::uint32_t kWindowFrame = packRgb(100, 100, 100);
inline constexpr std::uint32_t kEdgeShadow = packRgb(160, 160, 160);
inline constexpr std::uint32_t kEdgeHighlight = packRgb(255, 255, 255);
// The light grey of the dots that position the legend's text.
inline constexpr std::uint32_t kPositionDot = packRgb(208, 208, 208);

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Returns a window size or position in twips as whole pixels, halves to even.
int layoutPixels(int twips);
// Returns the pixels of a control placed at child (twips, relative to its container).
PixelRect placeControl(const PixelRect& container, const TwipRect& child);

// Fills rect with colour.
void fillRect(Raster& image, const PixelRect& rect, std::uint32_t colour);
// Draws the etched border of a frame without caption along the edge of rect.
void drawFrameBorder(Raster& image, const PixelRect& rect);
// Draws a one-pixel border along the edge of rect.
void drawSingleBorder(Raster& image, const PixelRect& rect, std::uint32_t colour);

// A drawing surface inside a key window: its own coordinates are twips from its
// inner top-left corner, y downwards. A twip falls on pixel floor(twip / 15),
// so up to fifteen rows or columns share a pixel and the one drawn last shows.
class KeySurface {
public:
    // inner: the pixels inside the surface's border; widthTwips, heightTwips:
    // its outer size, as the program reads it.
    KeySurface(Raster& image, const PixelRect& inner, int widthTwips, int heightTwips)
        : image_(image), inner_(inner), width_(widthTwips), height_(heightTwips) {}

    int width() const { return width_; }
    int height() const { return height_; }

    // Draws the line from (x, y) to (x + dx, y + dy), one pixel wide, without its
    // end point. Lines run along a row or a column.
    void line(int x, int y, int dx, int dy, std::uint32_t colour);
    // Sets the point (x, y) to colour and moves the text position there.
    void pset(int x, int y, std::uint32_t colour);
    // Prints text at the text position, the top of the text line there.
    void print(const KeyFont* font, std::string_view text, std::uint32_t colour);

    int currentX = 0;
    int currentY = 0;

private:
    Raster& image_;
    PixelRect inner_;
    int width_;
    int height_;
};

}  // namespace rubicel
