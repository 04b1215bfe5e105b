// SPDX-License-Identifier: MIT
// explore.h: exploring the planet: wheel zoom about the pointer, moving the view, back and forward.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/menu_ids.h"

namespace rubicel {

struct MapEntry;
struct Program;

// West, north, east, south in whole degrees, the order of maparea.
using AreaBox4 = std::array<std::int16_t, 4>;

// The Resolution step one notch finer (in) or coarser (out) than step; a step
// of 20 or more counts as 24. Nothing finer than 1 and nothing coarser than 24.
std::optional<std::int16_t> zoomedStep(std::int16_t step, bool in);

// The Resolution item of step: its place in the table, 20 on "Thumbnail (5%)".
int resolutionIndexOf(std::int16_t step);

// Normalises a box for the area renderer, keeping its size: west from -180 up
// to 180, the east limit running on past 180 when the box crosses it. A box
// wider than one tile is moved, by the least distance, so that it ends within
// the 360° that begin at the west edge of its first tile.
AreaBox4 fitToTiles(AreaBox4 box);

// The box of a map at step that fills a client area of clientWidth by
// clientHeight pixels and shows longitude, latitude at client point (x, y)
// (pixels from the client area's top-left corner): whole degrees, moved off
// the poles, at most the planet's height. Nothing when it would be wider than
// the planet.
std::optional<AreaBox4> zoomBox(double longitude, double latitude, double x, double y, int clientWidth,
                                int clientHeight, std::int16_t step);

// box moved east by east and north by north degrees: north and south stop at
// the poles, east and west go on around the planet.
AreaBox4 movedBox(AreaBox4 box, int east, int north);

// The box the map shown covers: maparea for an area map, the whole tile's
// limits for a tile map.
AreaBox4 shownBox(const Program& p);

// A finished map is shown and no drawing runs: the wheel, the arrow keys and
// the middle drag may draw a new map.
bool dmap_ExploreAllowed(const Program& p);

// The wheel turned notches notches (forward positive) with the pointer at (x, y)
// in pixels of the map picture: zooms in or out about that point, one step
// of the Resolution table per notch. A polar map is drawn again at that step,
// scrolled to keep the point under the pointer as far as the bars reach.
void dmap_Wheel(Program& p, int notches, float x, float y);

enum class Heading { West, East, North, South };

// An arrow key: scrolls the picture as the scroll bars' arrows do while it
// reaches beyond the window that way; at its edge, or when it fits, draws the
// box moved by half its width or height; on a polar map it only scrolls.
void dmap_Arrow(Program& p, Heading heading);

// A middle-button drag, positions in pixels of the map picture: the picture
// scrolls with the pointer while it can; on release what is left of the
// distance moves the box by whole degrees.
struct MiddleDrag {
    bool active = false;
    double lastX = 0, lastY = 0;  // the pointer's last place, client-area pixels
    double restX = 0, restY = 0;  // distance the scrolling did not take up, pixels
};
void dmap_MiddleDown(Program& p, float x, float y);
void dmap_MiddleMove(Program& p, float x, float y);
void dmap_MiddleUp(Program& p, float x, float y);

// Alt+Left, Alt+Right and the mouse's back and forward buttons: draw the
// previous or the next map of the history again, at its step.
void mapBack(Program& p);
void mapForward(Program& p);

// The step an area map requested now at box will be drawn at: the automatic
// step while autoresolution is set, else resolution.
std::int16_t nextAreaStep(const Program& p, const AreaBox4& box);
// A map was requested by a menu, the custom area or a drag: it goes into the history.
void noteMapRequest(Program& p, MapEntry entry);
void noteAreaRequest(Program& p, const AreaBox4& box, std::optional<MenuId> tick = std::nullopt);
// A map asked for by a tool window (a place found by name): a new entry of the
// history, drawn as Back and Forward draw the entries.
void drawNewMap(Program& p, const MapEntry& entry);

}  // namespace rubicel
