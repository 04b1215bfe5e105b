// SPDX-License-Identifier: MIT
// colour_row.cpp: the slow path of colourRow: elevations the table cannot colour alone.
#include "colour/colour_row.h"

#include "colour/colour_engine.h"
#include "common/stored_sample.h"
#include "common/raster.h"

namespace rubicel {
namespace {

std::int16_t sampleAt(const std::int16_t* samples, int first, int step, int i) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(samples + first + std::ptrdiff_t(i) * step);
    return storedElevation(bytes);
}

// Brings p.colour.R, G, B up to date with samples 0..end-1 of the row. Table
// pixels do not write them; a Setcolours call on the slow path does. So the
// latest sample that assigned anything decides: a table pixel gives its
// channels, a slow-path call has left them already, and with neither the row
// start's values stand.
void syncChannels(ColourContext& p, const std::int16_t* samples, int first, int step, int end) {
    const ColourTable& table = p.colourTable;
    for (int j = end - 1; j >= 0; --j) {
        const std::int16_t alt = sampleAt(samples, first, step, j);
        const std::uint32_t entry = table[alt];
        if (entry == ColourTable::kAssignsNothing) continue;
        if (ColourTable::isPixel(entry)) {
            const ColourTable::Channels c = table.channels(alt);
            p.colour.R = c.R;
            p.colour.G = c.G;
            p.colour.B = c.B;
        }
        return;
    }
}

}  // namespace

std::uint32_t colourRowSlow(ColourContext& p, const std::int16_t* samples, int first, int step, int i,
                            const std::uint32_t* out) {
    const std::int16_t alt = sampleAt(samples, first, step, i);
    if (p.colourTable[alt] == ColourTable::kAssignsNothing)
        return i > 0 ? out[i - 1] : packRgb(p.colour.R, p.colour.G, p.colour.B);
    // A failing call keeps the channels it did not reach, so they must be current.
    syncChannels(p, samples, first, step, i);
    Setcolours(p, p.colour.scheme, alt);
    return packRgb(p.colour.R, p.colour.G, p.colour.B);
}

void colourRowFinish(ColourContext& p, const std::int16_t* samples, int first, int step, int count) {
    syncChannels(p, samples, first, step, count);
}

}  // namespace rubicel
