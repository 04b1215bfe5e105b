// SPDX-License-Identifier: MIT
// atlas.h: every named feature and both whole-planet maps drawn into one folder on several threads, with a gallery page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "colour/colour_state.h"
#include "export/figure_file.h"
#include "export/map_output.h"
#include "export/map_request.h"
#include "figure/colour_bar.h"
#include "figure/figure_style.h"
#include "furniture/furniture_layout.h"
#include "maps/relief_shading.h"

namespace rubicel {

// What every map of the atlas shares: the tiles and the colours.
struct AtlasSettings {
    std::string folder;                 // where the maps and index.html go
    ImageFormat format = ImageFormat::Png;
    int jobs = 1;                       // drawing threads
    bool worldFiles = false;
    std::string datafolder;             // ends in '/'
    std::vector<std::string> tiles;     // the name-sorted tile list
    ColourState colour;                 // scheme, mode and band table
    ReliefSettings relief;              // the lighting, when on
    FurnitureLayers furniture;          // painted over every map, or drawn on its figure
    // Set: every map is written as a figure in this format, titled with its
    // caption, instead of a map file (no world files then).
    std::optional<FigureFormat> figure;
    double figureWidthMm = kFigureWidthMm;
    std::optional<ElevationSpan> range;  // the user's range the colours were made from, for the colour bar
    int figureDpi = kFigureDpi;
};

// One map of the atlas and what became of it.
struct AtlasEntry {
    MapRequest request;
    std::string group;     // the Map Area submenu, or "Entire Planet"
    std::string file;      // the map's file name in the folder
    std::string thumbnail; // the thumbnail's file name, relative to the folder
    int step = 0;
    int width = 0, height = 0;
    std::optional<std::string> failure;  // the message of a map that was not written
};

// The atlas's maps in menu order, with their file names: the map files', or
// the figures' when figure is set.
std::vector<AtlasEntry> atlasEntries(ImageFormat format, std::optional<FigureFormat> figure = std::nullopt);

// A file name made of the caption's letters and digits in lower case, words joined
// by '-': safe on every file system.
std::string fileNameOf(const std::string& caption);

// Draws every entry into settings.folder on settings.jobs threads, each with a
// program of its own, then writes the colour key and index.html. progress is
// called on the calling thread with the number of maps finished so far. Returns
// the entries with their results; a failure of the page itself is in pageFailure.
std::vector<AtlasEntry> makeAtlas(const AtlasSettings& settings, const std::function<void(int done, int total)>& progress,
                                  std::optional<std::string>& pageFailure);

// The gallery page: every entry's thumbnail, caption, box, step and size,
// linked to its map, with the colour key (keyFile empty when there is none).
std::string atlasPage(const std::vector<AtlasEntry>& entries, const AtlasSettings& settings,
                      const std::string& keyFile);

}  // namespace rubicel
