// SPDX-License-Identifier: MIT
// render_support.cpp: painting one run of samples into a row of the map picture.
#include "maps/render_support.h"

#include <algorithm>

#include "colour/colour_row.h"
#include "maps/relief_kernel.h"

namespace rubicel {
void paintSamples(MapContext& p, int first, int step, int count, int x, int y) {
    Raster& image = p.dmap.image;
    int drawn = 0;
    if (y >= 0 && y < image.height() && x < image.width()) {
        drawn = std::min(count, image.width() - x);
        colourRow(p, p.rowBuffer.data(), first, step, drawn, image.row(y) + x);
        // The elevations the shading stage lights the row by, as far as its
        // rows reach (the picture is as wide unless a handler replaced it).
        if (const int lit = std::min(drawn, p.reliefRows.width() - x); p.reliefRows.active() && lit > 0) {
            decodeElevations(p.rowBuffer.data() + first, step, lit, p.reliefRows.elevations() + x);
            p.reliefRows.drawnTo(x + lit);
        }
    }
    if (drawn < count) {
        // Beyond the picture's edge: at most a column or a row in a rendering
        // that runs to its end, the whole row when a handler emptied the picture.
        if (p.undrawnRow.empty()) p.undrawnRow.resize(kTileColumns);
        colourRow(p, p.rowBuffer.data(), first + drawn * step, step, count - drawn, p.undrawnRow.data());
    }
}

}  // namespace rubicel
