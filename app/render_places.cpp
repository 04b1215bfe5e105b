// SPDX-License-Identifier: MIT
// render_places.cpp: rubicel-render's named places, looked up in the place index only by the options that need them.
#include "render_places.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "places/place.h"
#include "places/place_index.h"
#include "places/search_key.h"

namespace rubicel {
namespace {

// The index of the shipped gazetteer, or null after saying why it could not be read.
const PlaceIndex* readIndex() {
    const PlaceIndex& index = PlaceIndex::shared();
    if (index.error().empty()) return &index;
    std::fprintf(stderr, "rubicel-render: the named places cannot be read: %s\n", index.error().c_str());
    return nullptr;
}

// A number as the gazetteer writes it: the shortest text that reads back as the same value.
std::string shortest(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

}  // namespace

const Place* placeCalled(std::string_view name, bool& failed) {
    const PlaceIndex* index = readIndex();
    failed = !index;
    if (!index) return nullptr;
    const std::string key = searchKey(name);
    const std::vector<const Place*> found = index->search(name);
    for (const Place* place : found) {
        if (place->key == key) return place;
        if (place->kind != Place::Kind::LandingSite) continue;
        // A lander is called by its site or by its mission, with or without the
        // mission's short name in brackets: "Curiosity" as "Curiosity (MSL)".
        const std::string_view mission = std::string_view(place->name).substr(0, place->name.find(" ("));
        if (place->siteKey == key || searchKey(mission) == key) return place;
    }
    const int length = int(name.size());
    if (found.empty()) {
        std::fprintf(stderr, "rubicel-render: no place is called '%.*s', and no name holds it\n", length, name.data());
        return nullptr;
    }
    std::fprintf(stderr, "rubicel-render: no place is called '%.*s'; names that hold it, best first:\n", length,
                 name.data());
    for (std::size_t i = 0; i < std::min<std::size_t>(found.size(), 10); ++i)
        std::fprintf(stderr, "  %s, %s\n", found[i]->name.c_str(), lowerCase(found[i]->type).c_str());
    return nullptr;
}

int listPlaces(std::string_view text) {
    const PlaceIndex* index = readIndex();
    if (!index) return 1;
    std::printf("name\ttype\tlatitude\tlongitude\tdiameter_km\n");
    for (const Place* place : index->search(text))
        std::printf("%s\t%s\t%s\t%s\t%s\n", place->name.c_str(), place->type.c_str(),
                    shortest(place->latitude).c_str(), shortest(place->longitude).c_str(),
                    shortest(place->diameterKm).c_str());
    return 0;
}

}  // namespace rubicel
