// SPDX-License-Identifier: MIT
// colour_engine.h: Setcolours and initbands: elevation to colour for maps and keys.
#pragma once

#include <cstdint>

#include "colour/shading.h"

namespace rubicel {

struct ColourContext;
struct ColourState;
struct BandColour;
class DiagnosticSink;
class DiagnosticGate;

// The scheme whose bands are the band table (the user's elevation range).
inline constexpr std::int16_t kBandTableScheme = 9;

// Writes the default band table of scheme 9.
void initbands(ColourState& colour);

// Sets colour.R, G, B for elevation alt under scheme (never changed) and the
// current mode and band table; assigns nothing for scheme 6, schemes outside
// 0..9 and scheme 9 elevations outside every band. Diagnostics go to p.ui, each
// kind once per drawing of gate: a map's (p.diagnostics) unless another is given.
void Setcolours(ColourContext& p, std::int16_t scheme, std::int16_t alt);
void Setcolours(ColourContext& p, std::int16_t scheme, std::int16_t alt, DiagnosticGate& gate);

// The work of Setcolours on any colour state, with its diagnostics sent to sink:
// the colour table runs it for every elevation without showing anything.
// Returns false when no band is selected and nothing is assigned.
bool colourElevation(ColourState& colour, std::int16_t scheme, std::int16_t alt, DiagnosticSink& sink);

// Assigns colour.R, then G, then B from band and the shading fraction f: start +
// increment x f in the precision of f, rounded half to even into 16 bits; start
// alone where the increment is 0, f is the integer 0 or f has no value. A
// result that does not fit 16 bits is reported to sink and ends the assignment;
// the channels assigned before it keep their new values.
void assignBandColour(ColourState& colour, const BandColour& band, Fraction f, std::int16_t alt,
                      DiagnosticSink& sink);

}  // namespace rubicel
