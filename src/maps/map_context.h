// SPDX-License-Identifier: MIT
// map_context.h: what the renderers and the map view work on: map state, picture, tile files, row buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour/colour_context.h"
#include "maps/map_picture.h"
#include "maps/map_state.h"
#include "maps/pointer_readout.h"
#include "maps/relief_shading.h"
#include "maps/tile_file.h"

namespace rubicel {

// The maps' share of the program state, over the colouring it draws with.
struct MapContext : ColourContext {
    explicit MapContext(Platform& platform) : ColourContext(platform) {}

    MapState map;
    MapPicture dmap;
    std::vector<std::string> File1;  // the name-sorted "megt*" tile list of datafolder
    TileFile files[2];               // tile files numbered 1 and 2
    RowBuffer rowBuffer{};           // the one row buffer both renderers read records into
    // Pixels coloured beyond the picture's edge land here and are dropped; one
    // tile row, made on first use.
    std::vector<std::uint32_t> undrawnRow;
    ReliefSettings relief;           // the lighting of the maps; off: the maps are coloured only
    ReliefRows reliefRows;           // the shading stage of the rendering running now
    PointerReadout readout;          // the read-out under the pointer, with its own row
    // Counts renderings started; a rendering that finds it changed after a yield
    // was superseded by one started inside that yield.
    int renderGeneration = 0;
    // Set when the program is ending; a rendering that finds it set after a yield
    // stops drawing.
    bool exiting = false;

    // Closes every open tile file.
    void closeFiles() {
        files[1].close();
        files[0].close();
    }
};

}  // namespace rubicel
