// SPDX-License-Identifier: MIT
// help_menu.cpp: the Help menu: About, the help file, the annotated map of Mars, where the data comes from.
#include "windows/help_menu.h"

#include <string>

#include "maps/map_picture.h"
#include "maps/map_view.h"
#include "windows/program.h"

namespace rubicel {

const char* const kAboutText =
    "Rubicel\n"
    "\n"
    "Software to create maps from the\n"
    "MEGDR064 MOLA elevation data set\n"
    "\n"
    "(c) 2007 the Rubicel authors\n"
    "\n"
    "Feature names: IAU WGPSN / USGS Gazetteer of Planetary Nomenclature";

const char* const kSourcingTitle = "Obtaining the MEGDR064 MOLA data files";

const char* const kSourcingText =
    "The MEGDR064 64 pixel/degree MOLA Digital Elevation Model\n"
    "files can be downloaded from:\n"
    "\n"
    "https://pds-geosciences.wustl.edu/missions/mgs/megdr.html\n"
    "\n"
    "See the HELP File for further details.";

namespace {

// Replaces the map picture by the built-in annotated map; the map state, the
// check marks stay as they are; the scroll bars are decided for its size.
void showAnnotatedMap(Program& p) {
    p.dmap.widthTwips = kAnnotatedMapWidth * kTwipsPerPixel;    // 15360
    p.dmap.heightTwips = kAnnotatedMapHeight * kTwipsPerPixel;  // 5955
    if (!p.ui.annotatedMap(p.dmap.image)) p.dmap.image.reset(0, 0);
    ++p.dmap.revision;
    p.ui.mapImageReset(p.dmap.image);
    fitScrollBars(p);
    p.ui.setMenuCaption(MenuId{MenuControl::prcent}, "Mars map:   longitude -180\u00b0 to +180\u00b0  latitude +57\u00b0 to -57\u00b0");
}

}  // namespace

void m_h_Click(Program& p, std::int16_t index) {
    switch (index) {
    case 0:
        p.ui.messageBox(kAboutText, "Rubicel " + p.map.versiontext, Icon::Information);
        break;
    case 1:
        p.ui.showHtmlHelp(kHelpFile);
        break;
    case 3:
        showAnnotatedMap(p);
        break;
    case 5:
        p.ui.messageBox(kSourcingText, kSourcingTitle, Icon::Information);
        break;
    default:
        break;
    }
}

}  // namespace rubicel
