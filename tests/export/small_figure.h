// SPDX-License-Identifier: MIT
// small_figure.h: the small figure the figure tests write: a box across 180°E, a picture of distinct pixels, laid out as asked.
#pragma once

#include <optional>
#include <vector>

#include "colour/colour_engine.h"
#include "colour/colour_state.h"
#include "common/raster.h"
#include "figure/figure_layout.h"
#include "furniture/label_font.h"
#include "furniture/map_geometry.h"
#include "furniture/map_places.h"
#include "maps/drawn_map.h"
#include "maps/relief_shading.h"

namespace rubicel::test {

// The box 170°E to 190°E, 40°N to 20°N at step 4 (320 x 320 pixels), a picture
// whose pixels differ from their neighbours, and its figure laid out from
// spec and places in scheme 5, blended. No layout when the font or the map's
// geometry is missing.
struct SmallFigure {
    const LabelFont* font = LabelFont::shared();
    std::optional<MapGeometry> map =
        MapGeometry::of(drawnAreaMap({2, 3, 0, 1}, 3200, 10879, 12159, 4, 320), 320, 320);
    Raster picture;
    FigureLayout layout;

    SmallFigure(const FigureSpec& spec, const std::vector<MapPlace>& places) {
        picture.reset(320, 320);
        for (int y = 0; y < 320; ++y)
            for (int x = 0; x < 320; ++x) picture.setPixel(x, y, packRgb(x % 256, y % 256, (x * 7 + y * 3) % 256));
        ColourState colour;
        initbands(colour);
        colour.scheme = 5;
        colour.mode = 1;
        if (font && map) layout = layOutFigure(*map, colour, ReliefSettings{}, spec, places, *font);
    }
};

}  // namespace rubicel::test
