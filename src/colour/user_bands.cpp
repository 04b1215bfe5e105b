// SPDX-License-Identifier: MIT
// user_bands.cpp: the band table of the user's elevation range.
#include "colour/user_bands.h"

#include <array>
#include <optional>

#include "colour/colour_state.h"
#include "common/rounding.h"

namespace rubicel {
namespace {

// a + b in 16 bits, nothing on overflow.
std::optional<std::int16_t> sum16(std::int16_t a, std::int16_t b) {
    const int s = int(a) + int(b);
    if (s < -32768 || s > 32767) return std::nullopt;
    return std::int16_t(s);
}

}  // namespace

bool userbandsFromLimits(ColourState& colour, std::int16_t lower, std::int16_t upper) {
    const auto span = difference16(upper, lower);
    if (!span) return false;
    const auto step = toInt16(double(*span) / 14.0);
    if (!step) return false;

    std::array<std::int16_t, kBandCount> lo{}, hi{};
    lo[0] = -8200;
    hi[0] = lower;
    for (int i = 1; i < kBandCount; ++i) {
        const auto start = sum16(hi[i - 1], 1);
        if (!start) return false;
        lo[i] = *start;
        if (i == kBandCount - 1) {
            hi[i] = 21250;
        } else {
            const auto end = sum16(lo[i], *step);
            if (!end) return false;
            hi[i] = *end;
        }
    }
    colour.bandlo = lo;
    colour.bandhi = hi;
    colour.userLimits = std::array<std::int16_t, 2>{lower, upper};
    return true;
}

}  // namespace rubicel
