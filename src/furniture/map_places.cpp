// SPDX-License-Identifier: MIT
// map_places.cpp: the place index's features and landing sites as the furniture takes them.
#include "furniture/map_places.h"

#include "places/place_index.h"

namespace rubicel {

std::vector<MapPlace> mapPlacesOf(const PlaceIndex& index) {
    std::vector<MapPlace> places;
    places.reserve(index.places().size());
    for (const Place& place : index.places()) {
        const PlaceKind kind = place.kind == Place::Kind::LandingSite ? PlaceKind::LandingSite
                               : place.type == "Albedo Feature"       ? PlaceKind::AlbedoFeature
                                                                      : PlaceKind::Feature;
        places.push_back({place.name, place.latitude, place.longitude, place.diameterKm, kind});
    }
    return places;
}

const std::vector<MapPlace>& shippedMapPlaces(std::string* error) {
    static const std::vector<MapPlace> places = mapPlacesOf(PlaceIndex::shared());
    if (error) *error = PlaceIndex::shared().error();
    return places;
}

}  // namespace rubicel
