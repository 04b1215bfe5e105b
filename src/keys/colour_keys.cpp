// SPDX-License-Identifier: MIT
// colour_keys.cpp: the layout of a key window in pixels and its picture before any painting.
#include "keys/colour_keys.h"

namespace rubicel {

KeyGeometry keyGeometry(const KeyLayout& layout) {
    KeyGeometry g;
    g.client = {0, 0, layoutPixels(layout.client.width), layoutPixels(layout.client.height)};
    g.frame = placeControl(g.client, layout.frame);
    g.strip = placeControl(g.frame, layout.strip);
    g.stripInner = {g.strip.left + 1, g.strip.top + 1, g.strip.width - 2, g.strip.height - 2};
    g.legend = placeControl(g.frame, layout.legend);
    return g;
}

void blankKeyImage(Raster& image, const KeyLayout& layout) {
    const KeyGeometry g = keyGeometry(layout);
    image.reset(g.client.width, g.client.height, kButtonFace);
    drawFrameBorder(image, g.frame);
    drawSingleBorder(image, g.strip, kWindowFrame);
    fillRect(image, g.stripInner, kWindowBackground);
}

}  // namespace rubicel
