// SPDX-License-Identifier: MIT
// key_surface.cpp: layout, frames and twip drawing of the colour keys.
#include "keys/key_surface.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "keys/key_font.h"

namespace rubicel {

namespace {

// The pixel that a twip coordinate falls on.
int twipPixel(int twips) {
    return twips >= 0 ? twips / kTwipsPerPixel : -((-twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}

void setClipped(Raster& image, const PixelRect& clip, int x, int y, std::uint32_t colour) {
    if (x >= clip.left && x < clip.right() && y >= clip.top && y < clip.bottom()) image.setPixel(x, y, colour);
}

}  // namespace

int layoutPixels(int twips) { return int(std::nearbyint(double(twips) / kTwipsPerPixel)); }

PixelRect placeControl(const PixelRect& container, const TwipRect& child) {
    return {container.left + layoutPixels(child.left), container.top + layoutPixels(child.top),
            layoutPixels(child.width), layoutPixels(child.height)};
}

void fillRect(Raster& image, const PixelRect& rect, std::uint32_t colour) {
    const int x0 = std::max(rect.left, 0), x1 = std::min(rect.right(), image.width());
    const int y0 = std::max(rect.top, 0), y1 = std::min(rect.bottom(), image.height());
    for (int y = y0; y < y1; ++y) std::fill(image.row(y) + x0, image.row(y) + std::max(x0, x1), colour);
}

void drawSingleBorder(Raster& image, const PixelRect& rect, std::uint32_t colour) {
    fillRect(image, {rect.left, rect.top, rect.width, 1}, colour);
    fillRect(image, {rect.left, rect.bottom() - 1, rect.width, 1}, colour);
    fillRect(image, {rect.left, rect.top, 1, rect.height}, colour);
    fillRect(image, {rect.right() - 1, rect.top, 1, rect.height}, colour);
}

void drawFrameBorder(Raster& image, const PixelRect& rect) {
    // An etched edge: a shadow line with a highlight line inside it at the top
    // and left, and outside it at the bottom and right.
    drawSingleBorder(image, {rect.left, rect.top, rect.width - 1, rect.height - 1}, kEdgeShadow);
    fillRect(image, {rect.left + 1, rect.top + 1, rect.width - 3, 1}, kEdgeHighlight);
    fillRect(image, {rect.left + 1, rect.top + 1, 1, rect.height - 3}, kEdgeHighlight);
    fillRect(image, {rect.left, rect.bottom() - 1, rect.width, 1}, kEdgeHighlight);
    fillRect(image, {rect.right() - 1, rect.top, 1, rect.height}, kEdgeHighlight);
}

void KeySurface::line(int x, int y, int dx, int dy, std::uint32_t colour) {
    assert(dx == 0 || dy == 0);
    const int px0 = inner_.left + twipPixel(x), py0 = inner_.top + twipPixel(y);
    const int px1 = inner_.left + twipPixel(x + dx), py1 = inner_.top + twipPixel(y + dy);
    if (dy == 0) {
        // Along a row: the end point's pixel is left out, but a line shorter
        // than a pixel still marks the pixel it starts on.
        const int lo = std::min(px0, px1), hi = std::max(px0, px1);
        const int first = std::max({lo, inner_.left, 0});
        const int last = std::min({hi == lo ? hi + 1 : hi, inner_.right(), image_.width()});
        if (py0 < inner_.top || py0 >= inner_.bottom() || py0 < 0 || py0 >= image_.height()) return;
        std::uint32_t* row = image_.row(py0);
        for (int px = first; px < last; ++px) row[px] = colour;
    } else {
        const int lo = std::min(py0, py1), hi = std::max(py0, py1);
        const int first = std::max(lo, inner_.top);
        const int last = std::min(hi == lo ? hi + 1 : hi, inner_.bottom());
        for (int py = first; py < last; ++py) setClipped(image_, inner_, px0, py, colour);
    }
}

void KeySurface::pset(int x, int y, std::uint32_t colour) {
    setClipped(image_, inner_, inner_.left + twipPixel(x), inner_.top + twipPixel(y), colour);
    currentX = x;
    currentY = y;
}

void KeySurface::print(const KeyFont* font, std::string_view text, std::uint32_t colour) {
    if (!font) return;
    font->draw(image_, inner_.left + twipPixel(currentX), inner_.top + twipPixel(currentY), text, colour,
               {inner_.left, inner_.top, inner_.right(), inner_.bottom()});
}

}  // namespace rubicel
