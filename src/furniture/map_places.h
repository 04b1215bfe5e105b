// SPDX-License-Identifier: MIT
// map_places.h: the named features and landing sites the furniture marks, as the caller gives them, and those a map shows.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "furniture/map_geometry.h"

namespace rubicel {

struct Place;
class PlaceIndex;

enum class PlaceKind {
    Feature,        // a named feature with an outline: crater, mons, vallis, planitia, ...
    AlbedoFeature,  // a classical albedo feature: no outline, never named on the map
    LandingSite,    // a lander, marked and named by its mission
};

// One place, as mapPlacesOf gives it from the place index.
struct MapPlace {
    std::string name;      // UTF-8, as approved (a lander: its mission)
    double latitude = 0;   // planetocentric, degrees north
    double longitude = 0;  // degrees east, of any turn (the gazetteer gives 0 to 360)
    double diameterKm = 0;
    PlaceKind kind = PlaceKind::Feature;
};

// The places of index, in its order: its features (the albedo features told
// apart by their type) and its landing sites, named by their missions.
std::vector<MapPlace> mapPlacesOf(const PlaceIndex& index);

// mapPlacesOf(PlaceIndex::shared()), made on the first call (from any thread)
// and kept for the run; empty, with the index's error in error, when the
// shipped files could not be read.
const std::vector<MapPlace>& shippedMapPlaces(std::string* error = nullptr);

// The same for a list of places.
std::vector<MapPlace> mapPlacesOf(std::span<const Place> places);

// A feature the map shows: where its centre lies and how wide it is there.
struct PlaceInView {
    std::size_t index = 0;  // into the list given
    PicturePoint at;
    double diameterPixels = 0;
};

// The features of places (no albedo features, no landing sites) whose centre
// the map shows and whose diameter spans at least minDiameterPixels at the
// map's scale there (along the meridian on an equirectangular map), in the
// order of places. A feature is found on whichever side of 0°/360° or 180°
// the map shows it.
std::vector<PlaceInView> featuresInView(const MapGeometry& map, std::span<const MapPlace> places,
                                        double minDiameterPixels);

}  // namespace rubicel
