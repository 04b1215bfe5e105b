// SPDX-License-Identifier: MIT
// scheme_tables_test.cpp: what holds across the bands of every fixed scheme and the shared ramp.
#include "colour/scheme_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace rubicel {
namespace {

// Selection intervals follow on without gap or overlap, from no lower limit to
// no upper limit; shading runs from -8200 in the first band to 21250 in the
// last and covers each band's own elevations.
TEST(SchemeTables, BandsFollowOnFromTheLowestToTheHighestElevation) {
    for (std::int16_t scheme : {0, 1, 2, 3, 4, 5, 7, 8}) {
        SCOPED_TRACE("scheme " + std::to_string(scheme));
        const SchemeTable t = schemeTable(scheme);
        ASSERT_FALSE(t.layout.empty());
        ASSERT_EQ(t.layout.size(), t.colours.size());
        EXPECT_EQ(t.layout.front().lower, -32768);
        EXPECT_EQ(t.layout.back().upper, 32767);
        EXPECT_EQ(t.layout.front().lo, -8200);
        EXPECT_EQ(t.layout.back().hi, 21250);
        for (std::size_t i = 0; i < t.layout.size(); ++i) {
            const BandLayout& band = t.layout[i];
            if (i > 0) EXPECT_LE(band.lo, band.lower) << "band " << i + 1;
            if (i + 1 < t.layout.size()) {
                EXPECT_GE(band.hi, band.upper) << "band " << i + 1;
                EXPECT_EQ(band.upper + 1, t.layout[i + 1].lower) << "band " << i + 1;
            }
        }
    }
}

// Each band's end colour (start + increment) is the next band's start colour,
// except at the seams the tables carry: one in each of schemes 1, 3, 4 and 5 and
// one in the ramp that schemes 2, 7, 8 and 9 share.
TEST(SchemeTables, EachBandEndsWhereTheNextBeginsExceptAtTheSeams) {
    const std::set<std::pair<std::string, std::size_t>> seams = {
        {"scheme 1", 3}, {"scheme 3", 12}, {"scheme 4", 9}, {"scheme 5", 3}, {"shared ramp", 2}};
    std::set<std::pair<std::string, std::size_t>> found;
    const auto check = [&](const std::string& name, std::span<const BandColour> colours) {
        ASSERT_FALSE(colours.empty()) << name;
        for (std::size_t i = 0; i + 1 < colours.size(); ++i) {
            const BandColour& a = colours[i];
            const BandColour& b = colours[i + 1];
            if (a.startR + a.incR != b.startR || a.startG + a.incG != b.startG || a.startB + a.incB != b.startB)
                found.insert({name, i + 1});
        }
    };
    for (std::int16_t scheme : {0, 1, 3, 4, 5}) check("scheme " + std::to_string(scheme), schemeTable(scheme).colours);
    check("shared ramp", sharedRamp());
    for (std::int16_t scheme : {2, 7, 8}) {
        const SchemeTable t = schemeTable(scheme);
        ASSERT_EQ(t.colours.size(), sharedRamp().size()) << scheme;
        for (std::size_t i = 0; i < t.colours.size(); ++i) {
            const BandColour& a = t.colours[i];
            const BandColour& r = sharedRamp()[i];
            EXPECT_TRUE(a.startR == r.startR && a.startG == r.startG && a.startB == r.startB && a.incR == r.incR &&
                        a.incG == r.incG && a.incB == r.incB)
                << "scheme " << scheme << " band " << i + 1 << " is not the shared ramp's segment";
        }
    }
    EXPECT_EQ(found, seams);
}

}  // namespace
}  // namespace rubicel
