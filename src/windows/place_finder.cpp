// SPDX-License-Identifier: MIT
// place_finder.cpp: the Find Place window's logic: the best matches of a name, and the map of the place chosen, marked.
#include "windows/place_finder.h"

#include <algorithm>
#include <charconv>

#include "maps/map_picture.h"
#include "places/place.h"
#include "places/place_index.h"
#include "windows/explore.h"
#include "windows/map_history.h"
#include "windows/place_map.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// Two decimals whatever the locale: a hundredth of a degree is under a kilometre.
std::string degreesText(double degrees) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

// The history's entry for the map placeMap chose.
MapEntry entryOf(const PlaceMap& map) {
    switch (map.kind) {
    case PlaceMap::Kind::Area: return MapEntry{MapEntry::Kind::Area, map.box, map.step, {}, std::nullopt, {}};
    case PlaceMap::Kind::Polar:
        return MapEntry{MapEntry::Kind::Polar, {map.pole, map.limit, 0, 0}, map.step, {}, std::nullopt, {}};
    case PlaceMap::Kind::Planet: break;
    }
    // As "Entire Planet" draws it first, at its step of 24.
    constexpr std::int16_t kPlanetStep = 24;
    const std::int16_t west = map.centre == 180 ? 0 : -180;
    return MapEntry{MapEntry::Kind::Planet, {west, 90, std::int16_t(west + 360), -90}, kPlanetStep, {}, std::nullopt, {}};
}

}  // namespace

std::vector<FinderRow> finderRows(const PlaceIndex& index, std::string_view text) {
    const std::vector<const Place*> found = index.search(text);
    std::vector<FinderRow> rows;
    rows.reserve(std::min(found.size(), kFinderMatches));
    for (const Place* place : found) {
        if (rows.size() == kFinderMatches) break;
        rows.push_back({place, place->name, place->type,
                        place->diameterKm > 0 ? diameterText(place->diameterKm) : std::string(),
                        degreesText(place->latitude), degreesText(place->longitude)});
    }
    return rows;
}

PlaceMark drawPlaceMap(Program& p, const Place& place) {
    const TwipSize client = p.ui.clientSize();
    const PlaceMap map = placeMap(place, client.width / kTwipsPerPixel, client.height / kTwipsPerPixel);
    const int generation = p.renderGeneration;
    MapEntry entry = entryOf(map);
    entry.place = place.name;
    drawNewMap(p, std::move(entry));
    PlaceMark mark{-1, place.name, place.latitude, place.longitude};
    // Only the drawing started here, ended (finished or stopped) into the picture shown.
    const DrawnMap& shown = p.dmap.shows;
    if (p.renderGeneration == generation + 1 && shown.valid && shown.revision == p.dmap.revision)
        mark.revision = p.dmap.revision;
    return mark;
}

std::optional<PicturePoint> placeMarkPoint(const MapPicture& picture, const PlaceMark& mark) {
    if (mark.revision < 0 || mark.revision != picture.revision) return std::nullopt;
    const auto geometry = MapGeometry::of(picture);
    if (!geometry) return std::nullopt;
    return geometry->pointOf(mark.latitude, mark.longitude);
}

}  // namespace rubicel
