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
struct Place;

// A map as one menu command draws it: a named feature or custom box (area), an
// entire planet, a whole tile, or a polar region.
struct MapRequest {
    enum class Kind { Feature, Area, Planet, Tile, Polar };
    Kind kind = Kind::Area;
    std::string caption;                          // the feature's, or a description
    std::int16_t west = 0, north = 0, east = 0, south = 0;  // area maps
    int tileEntry = 0;                            // tile maps: position in the sorted tile list
    std::optional<std::int16_t> step;             // replaces the step the menus would choose
    std::int16_t pole = 1, limit = 60;            // polar maps: 1 north, -1 south; the limit latitude

    static MapRequest feature(const Feature& f);
    static MapRequest planet(int centre);  // centred on 0 or 180
    static MapRequest polar(int pole, int limit);  // "North Polar Region" or "South Polar Region"
    // The map that shows place in a map area of width by height pixels (placeMap),
    // captioned with the place's name, at the step placeMap chose (the planet at
    // its menu item's).
    static MapRequest place(const Place& place, int width, int height);
};

// The captions of the planet centred on 0 or 180 and of the polar region of
// pole (1 north, -1 south), as their menu items give them.
std::string planetCaption(int centre);
std::string polarCaption(int pole);

// The caption of a box the user chose (a custom area, a dragged or zoomed
// box), degrees as the box gives them: "Longitude -150° to -90°, latitude 30°
// to -30°".
std::string areaCaption(int west, int north, int east, int south);

// The caption of the whole tile at fileEntry of the sorted tile list (0 the
// south-east, 3 the north-west): "North-west tile".
std::string tileCaption(int fileEntry);

// The 72 features in menu order, the planet centred on 0 and on 180, then the
// north and the south polar region to 60°.
std::vector<MapRequest> atlasRequests();

// Draws the request into p.dmap as the desktop program's menu command does, on a
// program whose tile folder and colours are set and whose platform is ui.
// Returns false when the rendering failed; its message is then among ui's.
bool drawMap(Program& p, HeadlessPlatform& ui, const MapRequest& request);

// True for the message a failed rendering shows.
bool isRenderingFailure(const std::string& message);

}  // namespace rubicel
