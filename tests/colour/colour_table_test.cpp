// SPDX-License-Identifier: MIT
// colour_table_test.cpp: the colour table and colourRow against Setcolours, for every elevation.
#include "colour/colour_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "colour/colour_engine.h"
#include "colour/colour_row.h"
#include "colour/diagnostics.h"
#include "colour/user_bands.h"
#include "common/raster.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {
namespace {

constexpr int kElevations = 65536;
constexpr int kRowSamples = 11520;

// Every elevation once, in an order that mixes bands and schemes' gaps (an odd
// multiplier permutes 0..65535), stored big-endian with a filler sample between
// two elevations, as a row read at step 2 from column 1.
std::vector<std::int16_t> storedSamples() {
    std::vector<std::int16_t> stored(2 * kElevations + 1, std::int16_t(0x7F7F));
    for (int i = 0; i < kElevations; ++i) {
        const auto alt = std::uint16_t(std::uint32_t(i) * 40503u);
        auto* bytes = reinterpret_cast<unsigned char*>(&stored[1 + 2 * i]);
        bytes[0] = std::uint8_t(alt >> 8);
        bytes[1] = std::uint8_t(alt & 0xFF);
    }
    return stored;
}

std::int16_t elevationAt(int i) { return std::int16_t(std::uint16_t(std::uint32_t(i) * 40503u)); }

const std::function<void(ColourState&)> kBandTables[] = {
    [](ColourState& c) { initbands(c); },
    [](ColourState& c) { ASSERT_TRUE(userbandsFromLimits(c, -8200, 21250)); },
    [](ColourState& c) { ASSERT_TRUE(userbandsFromLimits(c, 20000, 20000)); },
};

// For every scheme -1..10, mode 0..4 and band table: each entry agrees with a
// direct call, and colourRow draws what a call-by-call loop draws, shows the
// same messages and leaves the same R, G, B after every row. The table is
// reused from one case to the next, so each change of key must rebuild it.
TEST(ColourTable, EqualsTheEngineForEveryElevation) {
    const std::vector<std::int16_t> stored = storedSamples();
    std::vector<std::uint32_t> direct(kRowSamples), fast(kRowSamples);
    HeadlessPlatform fastUi;
    Program fastProgram(fastUi);

    for (std::int16_t scheme = -1; scheme <= 10; ++scheme) {
        for (std::int16_t mode = 0; mode <= 4; ++mode) {
            for (const auto& bandTable : kBandTables) {
                SCOPED_TRACE(::testing::Message() << "scheme " << scheme << ", mode " << mode);
                HeadlessPlatform directUi;
                Program directProgram(directUi);
                for (Program* p : {&directProgram, &fastProgram}) {
                    bandTable(p->colour);
                    p->colour.scheme = scheme;
                    p->colour.mode = mode;
                    p->colour.R = -1;
                    p->colour.G = 300;
                    p->colour.B = 77;
                    p->diagnostics.beginDrawing();
                }
                fastUi.messages.clear();

                /* Entry by entry. */
                const ColourTable& table = fastProgram.colourTable;
                fastProgram.colourTable.prepare(fastProgram.colour, scheme);
                int mismatches = 0;
                for (int alt = -32768; alt <= 32767 && mismatches < 5; ++alt) {
                    ColourState reference = fastProgram.colour;
                    RecordingSink sink;
                    const bool assigned = colourElevation(reference, scheme, std::int16_t(alt), sink);
                    const std::uint32_t entry = table[std::int16_t(alt)];
                    const std::uint32_t expected = !assigned   ? ColourTable::kAssignsNothing
                                                   : sink.raised ? ColourTable::kRaisesDiagnostic
                                                                 : packRgb(reference.R, reference.G, reference.B);
                    if (entry != expected) ++mismatches;
                    EXPECT_EQ(entry, expected) << "alt " << alt;
                    if (ColourTable::isPixel(entry)) {
                        const ColourTable::Channels c = table.channels(std::int16_t(alt));
                        if (c.R != reference.R || c.G != reference.G || c.B != reference.B) {
                            ++mismatches;
                            ADD_FAILURE() << "channels of alt " << alt;
                        }
                    }
                }
                // Building showed nothing and changed no channel.
                EXPECT_EQ(fastProgram.colour.R, -1);
                EXPECT_EQ(fastProgram.colour.G, 300);
                EXPECT_EQ(fastProgram.colour.B, 77);
                EXPECT_TRUE(fastUi.messages.empty());

                /* Row by row, with the carry-over from one row to the next. */
                for (int first = 0; first < kElevations && mismatches < 5; first += kRowSamples) {
                    const int count = std::min(kRowSamples, kElevations - first);
                    for (int i = 0; i < count; ++i) {
                        Setcolours(directProgram, scheme, elevationAt(first + i));
                        direct[i] = packRgb(directProgram.colour.R, directProgram.colour.G, directProgram.colour.B);
                    }
                    colourRow(fastProgram, stored.data(), 1 + 2 * first, 2, count, fast.data());
                    for (int i = 0; i < count; ++i) {
                        if (fast[i] == direct[i]) continue;
                        ++mismatches;
                        ADD_FAILURE() << "pixel of alt " << elevationAt(first + i);
                        break;
                    }
                    EXPECT_EQ(fastProgram.colour.R, directProgram.colour.R) << "row from " << first;
                    EXPECT_EQ(fastProgram.colour.G, directProgram.colour.G) << "row from " << first;
                    EXPECT_EQ(fastProgram.colour.B, directProgram.colour.B) << "row from " << first;
                }
                ASSERT_EQ(fastUi.messages.size(), directUi.messages.size());
                for (std::size_t i = 0; i < directUi.messages.size(); ++i)
                    EXPECT_EQ(fastUi.messages[i].text, directUi.messages[i].text);
            }
        }
    }
}

}  // namespace
}  // namespace rubicel
