// SPDX-License-Identifier: MIT
// colour_row.h: colourRow, the renderers' per-row colouring through the colour table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/colour_context.h"
#include "colour/colour_table.h"
#include "common/stored_sample.h"

namespace rubicel {

// The slow path of colourRow for sample i (out holds its first i pixels):
// calls Setcolours for it and returns its pixel.
std::uint32_t colourRowSlow(ColourContext& p, const std::int16_t* samples, int first, int step, int i,
                            const std::uint32_t* out);
// Ends colourRow: leaves p.colour.R, G, B as the row's Setcolours calls leave them.
void colourRowFinish(ColourContext& p, const std::int16_t* samples, int first, int step, int count);

// Colours count samples of one tile row under the current scheme: samples[first],
// samples[first + step], ..., each as stored in the file (big-endian), into
// out[0..count-1]. The pixels, the message boxes and the R, G, B left behind are
// those of a loop that calls Setcolours(p, p.colour.scheme, elevation) and packs
// R, G, B for each sample. The table is rebuilt first if the scheme, the mode or
// the band table changed (a menu command may run between rows).
inline void colourRow(ColourContext& p, const std::int16_t* samples, int first, int step, int count,
                      std::uint32_t* out) {
    ColourTable& table = p.colourTable;
    table.prepare(p.colour, p.colour.scheme);
    const auto* bytes = reinterpret_cast<const unsigned char*>(samples + first);
    const std::ptrdiff_t stride = std::ptrdiff_t(step) * 2;
    for (int i = 0; i < count; ++i, bytes += stride) {
        const std::uint32_t entry = table[storedElevation(bytes)];
        if (ColourTable::isPixel(entry)) [[likely]]
            out[i] = entry;
        else
            out[i] = colourRowSlow(p, samples, first, step, i, out);
    }
    colourRowFinish(p, samples, first, step, count);
}

}  // namespace rubicel
