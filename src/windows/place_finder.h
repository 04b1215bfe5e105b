// SPDX-License-Identifier: MIT
// place_finder.h: the Find Place window's logic: the best matches of a name, and the map of the place chosen, marked.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "furniture/map_geometry.h"

namespace rubicel {

struct MapPicture;
struct Place;
struct Program;
class PlaceIndex;

// The list shows at most this many matches.
inline constexpr std::size_t kFinderMatches = 50;

// One row of the list: the place and the texts of its columns.
struct FinderRow {
    const Place* place = nullptr;
    std::string name;
    std::string type;
    std::string diameter;   // km (diameterText); empty for a place of no size
    std::string latitude;   // planetocentric, degrees, two decimals: "18.41", "-4.59"
    std::string longitude;  // east, 0 to 360, two decimals: "77.69"
};

// The best matches of text in index, in the order PlaceIndex::search gives
// them, at most kFinderMatches.
std::vector<FinderRow> finderRows(const PlaceIndex& index, std::string_view text);

// A place marked on the map drawn for it.
struct PlaceMark {
    int revision = -1;  // MapPicture::revision of the map it belongs to; -1 for none
    std::string name;
    double latitude = 0;
    double longitude = 0;
};

// Draws the map of place that fits the window's map area (placeMap for the
// client area) as a new map of the history, so Back returns to the map before
// it. Returns the place's mark on that map; no mark (revision -1) when a map
// asked for during the drawing took its place.
PlaceMark drawPlaceMap(Program& p, const Place& place);

// Where the mark lies on the picture, pixels from its top-left corner; nothing
// once the picture shows another map (until the next map), or where the map
// does not show the place.
std::optional<PicturePoint> placeMarkPoint(const MapPicture& picture, const PlaceMark& mark);

}  // namespace rubicel
