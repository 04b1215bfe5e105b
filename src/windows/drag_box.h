// SPDX-License-Identifier: MIT
// drag_box.h: a rubber band dragged over the map becomes an area map of that box.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace rubicel {

struct MapPicture;
struct Program;

// The limits west, north, east, south (maparea order) of the box that a band
// from pixel (x0, y0) to pixel (x1, y1) of the picture gives, corners in any
// order: the samples at its corners (the band is first cut to the pixels that
// show samples), rounded outward to whole degrees. An axis the band spans by
// less than one degree gives the one-degree step that holds the band's centre.
// West lies from -180 up to 180; a box running on across 180° keeps an east
// limit above 180. Nothing when the picture shows no finished map.
std::optional<std::array<std::int16_t, 4>> dragLimits(const MapPicture& picture, int x0, int y0, int x1, int y1);

// True when a drag may start: a finished map other than a polar one is shown
// and no drawing runs.
bool dmap_DragAllowed(const Program& p);

// A left-button drag ended at (x1, y1) after starting at (x0, y0), in pixels of
// the map picture: draws the box as the custom area's "&Draw Map" does after
// the Map Area menu was opened (an area map at the automatic step).
void dmap_Drag(Program& p, float x0, float y0, float x1, float y1);

}  // namespace rubicel
