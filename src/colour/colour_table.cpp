// SPDX-License-Identifier: MIT
// colour_table.cpp: the elevation-to-pixel table, built by running the engine on every elevation.
#include "colour/colour_table.h"

#include <limits>

#include "colour/colour_engine.h"
#include "colour/diagnostics.h"
#include "common/raster.h"

namespace rubicel {

ColourTable::ColourTable()
    : entriesStorage_(std::make_unique<std::array<std::uint32_t, 65536>>()), entries_(entriesStorage_->data()) {
    entriesStorage_->fill(kAssignsNothing);
}

void ColourTable::prepare(const ColourState& colour, std::int16_t scheme) {
    if (built_ && scheme == scheme_ && colour.mode == key_.mode && colour.bandlo == key_.bandlo &&
        colour.bandhi == key_.bandhi)
        return;
    built_ = true;
    scheme_ = scheme;
    key_.mode = colour.mode;
    key_.bandlo = colour.bandlo;
    key_.bandhi = colour.bandhi;

    // Each elevation is coloured on a scratch state, so the caller's R, G, B stay
    // as they are and the diagnostics are only noted.
    ColourState scratch = key_;
    for (int alt = std::numeric_limits<std::int16_t>::min(); alt <= std::numeric_limits<std::int16_t>::max();
         ++alt) {
        RecordingSink sink;
        std::uint32_t entry = kAssignsNothing;
        if (colourElevation(scratch, scheme, std::int16_t(alt), sink))
            entry = sink.raised ? kRaisesDiagnostic : packRgb(scratch.R, scratch.G, scratch.B);
        entries_[std::uint16_t(alt)] = entry;
    }
}

ColourTable::Channels ColourTable::channels(std::int16_t alt) const {
    ColourState scratch = key_;
    RecordingSink sink;
    colourElevation(scratch, scheme_, alt, sink);
    return {scratch.R, scratch.G, scratch.B};
}

}  // namespace rubicel
