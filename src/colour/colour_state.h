// SPDX-License-Identifier: MIT
// colour_state.h: the program-wide colour state: scheme, mode, band table and last colour.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace rubicel {

inline constexpr int kBandCount = 16;

struct ColourState {
    std::int16_t scheme = 0;  // index of the Scheme menu item; 6 is the separator
    std::int16_t mode = 0;    // index of the Mode menu item
    std::array<std::int16_t, kBandCount> bandlo{};  // scheme 9's bands
    std::array<std::int16_t, kBandCount> bandhi{};
    // The lower and upper limits the band table was last built from
    // (userbandsFromLimits); nothing while it holds the start-up bands.
    std::optional<std::array<std::int16_t, 2>> userLimits;
    // The colour left by the latest Setcolours call; kept where a call assigns nothing.
    std::int16_t R = 0, G = 0, B = 0;
};

}  // namespace rubicel
