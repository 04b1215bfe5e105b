// SPDX-License-Identifier: MIT
// scheme_tables.h: the band lists of the fixed colour schemes and the shared colour ramp.
#pragma once

#include <cstdint>
#include <span>

namespace rubicel {

// Where a band lies: the elevations it selects (inclusive) and the range handed
// to the shading function, which need not be the same.
struct BandLayout {
    std::int16_t lower, upper;  // selection interval, metres
    std::int16_t lo, hi;        // shading range
};

// How a band is coloured: channel = start + increment x shading fraction.
struct BandColour {
    std::int16_t startR, startG, startB;
    std::int16_t incR, incG, incB;
};

// A fixed scheme: bands in ascending order of elevation, layout and colours side
// by side (index n of each describes band n + 1).
struct SchemeTable {
    std::span<const BandLayout> layout;
    std::span<const BandColour> colours;
};

inline constexpr int kRampSegments = 16;

// The sixteen colour segments shared by schemes 2, 7, 8 and 9; segment n is
// element n - 1.
std::span<const BandColour, kRampSegments> sharedRamp();

// The band list of a fixed scheme (0 to 5, 7 and 8); nothing (empty spans) for
// scheme 9, whose layout is the band table, and for every other number.
SchemeTable schemeTable(std::int16_t scheme);

}  // namespace rubicel
