// SPDX-License-Identifier: MIT
// user_bands.h: the band table of the user's elevation range.
#pragma once

#include <cstdint>

namespace rubicel {

struct ColourState;

// Rebuilds the band table from the range dialog's limits: band 0 from -8200 up
// to lower, fourteen bands of step + 1 metres each above it, where step is
// (upper - lower) / 14 rounded half to even, and band 15 from there up to 21250.
// Band 14 therefore ends a little above upper. Returns false, leaving the table
// as it was, when the difference or a band end does not fit 16 bits (limits the
// dialog's scroll bars cannot give).
[[nodiscard]] bool userbandsFromLimits(ColourState& colour, std::int16_t lower, std::int16_t upper);

}  // namespace rubicel
