// SPDX-License-Identifier: MIT
// map_places.cpp: the place index's features and landing sites as the furniture takes them.
#include "furniture/map_places.h"

#include "places/place_index.h"

namespace rubicel {

std::vector<MapPlace> mapPlacesOf(std::span<const Place> places) {
    std::vector<MapPlace> out;
    out.reserve(places.size());
    for (const Place& place : places) {
        const PlaceKind kind = place.kind == Place::Kind::LandingSite ? PlaceKind::LandingSite
                               : place.type == "Albedo Feature"       ? PlaceKind::AlbedoFeature
                                                                      : PlaceKind::Feature;
        out.push_back({place.name, place.latitude, place.longitude, place.diameterKm, kind});
    }
    return out;
}

std::vector<MapPlace> mapPlacesOf(const PlaceIndex& index) { return mapPlacesOf(index.places()); }

const std::vector<MapPlace>& shippedMapPlaces(std::string* error) {
    static const std::vector<MapPlace> places = mapPlacesOf(PlaceIndex::shared());
    if (error) *error = PlaceIndex::shared().error();
    return places;
}

}  // namespace rubicel
