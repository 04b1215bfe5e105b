// SPDX-License-Identifier: MIT
// pointer_readout.h: latitude, longitude and elevation of the sample under the pointer on the map picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "maps/drawn_map.h"
#include "maps/tile_file.h"

namespace rubicel {

struct MapPicture;
struct MapContext;
class PlaceIndex;

struct PointerReading {
    PixelSample sample;
    std::int16_t elevation = 0;  // metres
};

// Reads the elevation of the sample a pixel shows from its tile file. The row
// last read is kept, so moving along a row reads nothing and moving to another
// row reads one record; no file stays open between moves, so a drawing never
// finds one of its own files taken.
class PointerReadout {
public:
    // Nothing where the picture shows no sample or the record cannot be read.
    std::optional<PointerReading> read(const MapPicture& picture, int x, int y);

private:
    std::string file_;  // the file and record the row buffer holds
    int record_ = 0;
    RowBuffer row_{};
};

// The read-out as shown: latitude, east longitude from -180 to 180 (with the
// 0 to 360 value after it for western longitudes) and the elevation, as
// "18.41°N  133.80°W (226.20°E)   21 130 m".
std::string readoutText(const PointerReading& reading);
// The same followed by the smallest named feature of places that holds the
// sample, "   Gale (crater, 154 km)", when there is one.
std::string readoutText(const PointerReading& reading, const PlaceIndex& places);

// The pointer moved to (x, y), in pixels of the map picture: shows the read-out
// beside it, with the named feature from the shipped gazetteer (read on the
// first move), or nothing where the picture shows no sample.
void dmap_MouseMove(MapContext& p, float x, float y);
// The pointer left the map picture.
void dmap_MouseLeave(MapContext& p);

}  // namespace rubicel
