// SPDX-License-Identifier: MIT
// colour_context.h: what colouring works on: the colour state, its table, the diagnostics gate, the platform.
#pragma once

#include "colour/colour_state.h"
#include "colour/colour_table.h"
#include "colour/diagnostics.h"
#include "platform/platform.h"

namespace rubicel {

// The colour engine's share of the program state: the maps and the keys colour
// through it and its diagnostics are shown on ui.
struct ColourContext {
    explicit ColourContext(Platform& platform) : ui(platform) {}
    ColourContext(const ColourContext&) = delete;
    ColourContext& operator=(const ColourContext&) = delete;

    Platform& ui;
    ColourState colour;
    ColourTable colourTable;
    DiagnosticGate diagnostics;     // the map renderings' colouring diagnostics
    DiagnosticGate keyDiagnostics;  // the colour keys': a key painted while a map yields is a drawing of its own
};

}  // namespace rubicel
