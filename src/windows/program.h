// SPDX-License-Identifier: MIT
// program.h: the program-wide state that every handler and procedure works on.
#pragma once

#include "furniture/furniture_layout.h"
#include "maps/map_context.h"
#include "windows/custom_area.h"
#include "windows/explore.h"
#include "windows/key_window.h"
#include "windows/map_history.h"
#include "windows/range_dialog.h"
#include "windows/relief_file.h"
#include "windows/save_panel.h"
#include "windows/view_menu.h"

namespace rubicel {

// One instance for the whole run. Procedures take it by reference, as the
// program's procedures share its module-level variables; the domains take the
// share they work on (MapContext, ColourContext).
struct Program : MapContext {
    explicit Program(Platform& platform) : MapContext(platform) {}

    CustomArea getArea;              // the custom-area dialog's boxes and half spans
    SavePanel saveBox;               // the save panel's folder, name and lists
    KeyWindow Key;                   // the vertical colour key
    KeyWindow Hkey;                  // the horizontal colour key
    RangeDialog uchoice;             // the range dialog "Define Contour Limits"
    ReliefDialog reliefDialog;       // the "Relief Settings" dialog's boxes
    bool keyFontProblemShown = false;  // the keys' missing font is told once a run
    MapHistory history;              // the maps drawn in this run, for back and forward
    MiddleDrag middleDrag;           // a middle-button drag over the map
    FurnitureLayers view;            // the View menu's layers, painted by the window over the map;
                                     // File > Export Figure starts with them
};

}  // namespace rubicel
