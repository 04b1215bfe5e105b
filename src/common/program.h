// SPDX-License-Identifier: MIT
// program.h: the program-wide state that every handler and procedure works on.
#pragma once

#include <string>
#include <vector>

#include "colour/colour_state.h"
#include "colour/colour_table.h"
#include "colour/diagnostics.h"
#include "colour/range_dialog.h"
#include "keys/key_window.h"
#include "keys/save_panel.h"
#include "maps/map_picture.h"
#include "maps/map_state.h"
#include "maps/pointer_readout.h"
#include "maps/tile_file.h"
#include "platform/platform.h"
#include "settings/custom_area.h"

namespace rubicel {

// One instance for the whole run. Procedures take it by reference, as the
// program's procedures share its module-level variables.
struct Program {
    explicit Program(Platform& platform) : ui(platform) {}
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Platform& ui;
    MapState map;
    ColourState colour;
    ColourTable colourTable;
    DiagnosticGate diagnostics;     // the map renderings' colouring diagnostics
    DiagnosticGate keyDiagnostics;  // the colour keys': a key painted while a map yields is a drawing of its own
    MapPicture dmap;
    std::vector<std::string> File1;  // the name-sorted "megt*" tile list of datafolder
    TileFile files[2];               // tile files numbered 1 and 2
    RowBuffer rowBuffer{};           // the one row buffer both renderers read records into
    PointerReadout readout;          // the read-out under the pointer, with its own row
    // Counts renderings started; a rendering that finds it changed after a yield
    // was superseded by one started inside that yield.
    int renderGeneration = 0;
    // Set when the program is ending; a rendering that finds it set after a yield
    // stops drawing.
    bool exiting = false;
    CustomArea getArea;              // the custom-area dialog's boxes and half spans
    SavePanel saveBox;               // the save panel's folder, name and lists
    KeyWindow Key;                   // the vertical colour key
    KeyWindow Hkey;                  // the horizontal colour key
    RangeDialog uchoice;             // the range dialog "Define Contour Limits"

    // Closes every open tile file.
    void closeFiles() {
        files[1].close();
        files[0].close();
    }
};

}  // namespace rubicel
