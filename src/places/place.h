// SPDX-License-Identifier: MIT
// place.h: one named place on Mars, a feature of the IAU gazetteer or a landing site, and its extent.
#pragma once

#include <optional>
#include <string>

namespace rubicel {

// A box on Mars in degrees: planetocentric latitude south to north, east
// longitude west to east, east never below west. west may be negative and east
// past 360 (a box across 0°E runs from -10.82 to 7.04); a box of 360° or more
// holds every longitude.
struct GeoBox {
    double south = 0, north = 0, west = 0, east = 0;

    // True when the point lies in the box, edges included; any longitude,
    // taken modulo 360.
    bool contains(double latitude, double longitude) const;
    friend bool operator==(const GeoBox&, const GeoBox&) = default;
};

struct Place {
    enum class Kind { Feature, LandingSite };
    Kind kind = Kind::Feature;
    int id = 0;                   // the gazetteer's feature id; 0 for a landing site
    std::string name;             // as approved, UTF-8 with diacritics; a landing site's mission
    std::string site;             // a landing site's name ("Bradbury Landing"); empty for features
    std::string type;             // the descriptor term ("Crater", "Mons"); "Landing site"
    double latitude = 0;          // the centre: planetocentric latitude, degrees
    double longitude = 0;         // and east longitude, 0 to 360
    double diameterKm = 0;        // 0 for a landing site and for a feature of no size (albedo features)
    std::optional<GeoBox> box;    // the gazetteer's bounding box, when it gives one
    GeoBox extent;                // what the place covers (placeExtent)
    std::string key, siteKey;     // searchKey of name and site
};

// Kilometres of the surface to a degree of latitude on Mars.
inline constexpr double kKmPerDegree = 59.27;

// What a place covers: a landing site or a feature of diameter 0, its centre
// ± 1° both ways; else the gazetteer's bounding box; a feature without one,
// its centre ± half its diameter (latitude: km / 59.27 per degree; longitude
// the same / cos of the centre latitude, at most the whole circle). Latitudes
// stay within ±90.
GeoBox placeExtent(const Place& place);

// A diameter in km as the program writes it: one decimal below 10 km ("0.8"),
// whole kilometres from there, in groups of three digits apart from 1,000 km
// ("154", "1 707").
std::string diameterText(double km);

// The place as the pointer read-out names it: its name, its type in lower
// case and its diameter (diameterText), "Gale (crater, 154 km)",
// "Airy-0 (crater, 0.8 km)", "Hephaestus Rupēs (rupes, 1 707 km)".
std::string featureLabel(const Place& place);

}  // namespace rubicel
