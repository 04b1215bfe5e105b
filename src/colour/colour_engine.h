// SPDX-License-Identifier: MIT
// colour_engine.h: Setcolours, cmode and initbands: elevation to colour for maps and keys.
#pragma once

#include <cstdint>

namespace rubicel {

struct Program;
struct ColourState;

// Writes the default band table of scheme 9.
void initbands(ColourState& colour);

// Sets colour.R, G, B for elevation alt under scheme (never changed) and the
// current mode and band table; assigns nothing for scheme 6, schemes outside
// 0..9 and scheme 9 elevations outside every band. Diagnostics go to p.ui, each
// kind once per drawing.
void Setcolours(Program& p, std::int16_t scheme, std::int16_t alt);

}  // namespace rubicel
