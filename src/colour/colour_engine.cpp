// SPDX-License-Identifier: MIT
// colour_engine.cpp: Setcolours and initbands: elevation to colour for maps and keys.
#include "colour/colour_engine.h"

#include <array>
#include <utility>

#include "colour/colour_context.h"
#include "colour/colour_state.h"
#include "colour/diagnostics.h"
#include "colour/scheme_tables.h"
#include "common/rounding.h"

namespace rubicel {
namespace {

// The default band table: band 0 reaches up to -4999 and band 1 starts at
// -5000; the first match wins, so both metres belong to band 0.
constexpr std::array<std::pair<std::int16_t, std::int16_t>, kBandCount> kDefaultBands{{
    {-8200, -4999}, {-5000, -1},  {0, 500},     {501, 1000},  {1001, 1500}, {1501, 2000},
    {2001, 2500},   {2501, 3000}, {3001, 3500}, {3501, 4000}, {4001, 4500}, {4501, 5000},
    {5001, 5500},   {5501, 6000}, {6001, 9000}, {9001, 21250},
}};

// Sets channel to start + increment x f, evaluated in the precision of f.
// Returns false, leaving channel alone, when the rounded value needs more than 16 bits.
template <typename Real>
bool assignChannel(std::int16_t& channel, std::int16_t start, std::int16_t increment, Real f) {
    if (increment == 0) {
        channel = start;
        return true;
    }
    const Real product = Real(increment) * f;
    const auto value = toInt16(Real(start) + product);
    if (!value) return false;
    channel = *value;
    return true;
}

template <typename Real>
void assignChannels(ColourState& colour, const BandColour& band, Real f, Fraction shown, std::int16_t alt,
                    DiagnosticSink& sink) {
    if (assignChannel(colour.R, band.startR, band.incR, f) && assignChannel(colour.G, band.startG, band.incG, f) &&
        assignChannel(colour.B, band.startB, band.incB, f))
        return;
    sink.colourError(kOverflow, shown, colour.R, colour.G, colour.B, alt);
}

}  // namespace

void initbands(ColourState& colour) {
    for (int i = 0; i < kBandCount; ++i) {
        colour.bandlo[i] = kDefaultBands[i].first;
        colour.bandhi[i] = kDefaultBands[i].second;
    }
    colour.userLimits.reset();
}

void assignBandColour(ColourState& colour, const BandColour& band, Fraction f, std::int16_t alt,
                      DiagnosticSink& sink) {
    switch (f.kind) {
        case Fraction::Kind::Single: assignChannels(colour, band, f.single, f, alt, sink); return;
        case Fraction::Kind::Double: assignChannels(colour, band, f.dbl, f, alt, sink); return;
        case Fraction::Kind::Zero:
        case Fraction::Kind::None:
            colour.R = band.startR;
            colour.G = band.startG;
            colour.B = band.startB;
            return;
    }
}

bool colourElevation(ColourState& colour, std::int16_t scheme, std::int16_t alt, DiagnosticSink& sink) {
    /* Select the band: the first, in ascending order, that holds alt. */
    const BandColour* band = nullptr;
    std::int16_t lo = 0, hi = 0;
    if (scheme == kBandTableScheme) {
        for (int i = 0; i < kBandCount; ++i) {
            if (colour.bandlo[i] <= alt && alt <= colour.bandhi[i]) {
                band = &sharedRamp()[i];
                lo = colour.bandlo[i];
                hi = colour.bandhi[i];
                break;
            }
        }
    } else {
        const SchemeTable table = schemeTable(scheme);
        for (std::size_t i = 0; i < table.layout.size(); ++i) {
            const BandLayout& layout = table.layout[i];
            if (layout.lower <= alt && alt <= layout.upper) {
                band = &table.colours[i];
                lo = layout.lo;
                hi = layout.hi;
                break;
            }
        }
    }
    if (!band) return false;

    /* Shade it. */
    assignBandColour(colour, *band, cmode(alt, lo, hi, colour.mode, sink), alt, sink);
    return true;
}

void Setcolours(ColourContext& p, std::int16_t scheme, std::int16_t alt) { Setcolours(p, scheme, alt, p.diagnostics); }

void Setcolours(ColourContext& p, std::int16_t scheme, std::int16_t alt, DiagnosticGate& gate) {
    MessageBoxSink sink(p, gate);
    colourElevation(p.colour, scheme, alt, sink);
}

}  // namespace rubicel
