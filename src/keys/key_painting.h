// SPDX-License-Identifier: MIT
// key_painting.h: the painting loops of the two keys, given where each elevation's colour comes from.
#pragma once

#include <cstdint>

#include "keys/colour_keys.h"
#include "keys/key_font.h"
#include "keys/key_surface.h"

namespace rubicel {

// The strip and the legend of a key window's picture, as laid out by layout.
struct KeySurfaces {
    KeySurface strip;
    KeySurface legend;
};
inline KeySurfaces keySurfaces(Raster& image, const KeyLayout& layout) {
    const KeyGeometry g = keyGeometry(layout);
    return {KeySurface(image, g.stripInner, layout.strip.width, layout.strip.height),
            KeySurface(image, g.legend, layout.legend.width, layout.legend.height)};
}

// Paints the vertical key: one strip row per twip of height from the bottom up,
// a positioning dot per row and the labels. colourOf(e) returns the pixel of
// elevation e; makekey asks the colour engine. Surface is a KeySurface or
// anything with its width, height, line, pset and print.
template <class Surface, class ColourOf>
void paintVerticalKey(Surface& kstrip, Surface& legend, const KeyFont* font, ColourOf&& colourOf) {
    const std::int16_t w = std::int16_t(kstrip.width());
    const std::int16_t h = std::int16_t(kstrip.height());
    const float step = kKeySpan / float(h);
    float alt = kKeyLowest;
    int count = 0;
    while (count != h) {
        alt += step;
        ++count;
        const std::uint32_t colour = colourOf(verticalKeyElevation(alt));
        kstrip.line(0, h - count, w, 0, colour);
        legend.pset(0, count, kPositionDot);
        if (const char* label = verticalKeyLabel(h - count, h)) legend.print(font, rightAligned(label).text, kWindowText);
    }
}

// Paints the horizontal key: one strip column per twip of width from the left
// (column 0 is never drawn), then the ticks and labels at their fixed places.
template <class Surface, class ColourOf>
void paintHorizontalKey(Surface& kstrip2, Surface& legend2, const KeyFont* font, ColourOf&& colourOf) {
    const std::int16_t w = std::int16_t(kstrip2.width());
    const std::int16_t h = std::int16_t(kstrip2.height());
    const float step = kKeySpan / float(w);
    float alt = kKeyLowest;
    int count = 0;
    while (count != w) {
        alt += step;
        ++count;
        kstrip2.line(count, 0, 0, h, colourOf(horizontalKeyElevation(alt)));
    }
    for (const HorizontalKeyTick& tick : kHorizontalKeyTicks) {
        legend2.line(tick.tickX, 0, 0, kTickLength, kWindowText);
        legend2.pset(tick.labelX, kTickLength, kPositionDot);
        legend2.print(font, tick.text, kWindowText);
    }
}

}  // namespace rubicel
