// SPDX-License-Identifier: MIT
// map_request.h: one map to draw without a window: what the menus would draw, and at which step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rubicel {

class HeadlessPlatform;
struct Program;
struct Feature;

// A map as one menu command draws it: a named feature or custom box (area), an
// entire planet, or a whole tile.
struct MapRequest {
    enum class Kind { Feature, Area, Planet, Tile };
    Kind kind = Kind::Area;
    std::string caption;                          // the feature's, or a description
    std::int16_t west = 0, north = 0, east = 0, south = 0;  // area maps
    int tileEntry = 0;                            // tile maps: position in the sorted tile list
    std::optional<std::int16_t> step;             // replaces the step the menus would choose

    static MapRequest feature(const Feature& f);
    static MapRequest planet(int centre);  // centred on 0 or 180
};

// The 72 features in menu order, then the planet centred on 0 and on 180.
std::vector<MapRequest> atlasRequests();

// Draws the request into p.dmap as the desktop program's menu command does, on a
// program whose tile folder and colours are set and whose platform is ui.
// Returns false when the rendering failed; its message is then among ui's.
bool drawMap(Program& p, HeadlessPlatform& ui, const MapRequest& request);

// True for the message a failed rendering shows.
bool isRenderingFailure(const std::string& message);

}  // namespace rubicel
