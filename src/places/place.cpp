// SPDX-License-Identifier: MIT
// place.cpp: one named place on Mars, a feature of the IAU gazetteer or a landing site, and its extent.
#include "places/place.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/rounding.h"

namespace rubicel {

bool GeoBox::contains(double latitude, double longitude) const {
    if (latitude < south || latitude > north) return false;
    if (east - west >= 360.0) return true;
    // The longitude's place east of the west edge, 0 up to 360.
    const double past = longitude - west - 360.0 * std::floor((longitude - west) / 360.0);
    return past <= east - west;
}

GeoBox placeExtent(const Place& place) {
    const double lat = place.latitude, lon = place.longitude;
    GeoBox e;
    if (place.kind == Place::Kind::LandingSite || place.diameterKm <= 0) {
        e = {lat - 1.0, lat + 1.0, lon - 1.0, lon + 1.0};
    } else if (place.box) {
        e = *place.box;
    } else {
        const double halfLatitude = place.diameterKm / 2.0 / kKmPerDegree;
        const double cosine = std::cos(lat * std::numbers::pi / 180.0);
        // Near a pole the circle of longitudes is soon covered.
        const double halfLongitude = cosine * 180.0 > halfLatitude ? halfLatitude / cosine : 180.0;
        e = {lat - halfLatitude, lat + halfLatitude, lon - halfLongitude, lon + halfLongitude};
    }
    e.south = std::max(e.south, -90.0);
    e.north = std::min(e.north, 90.0);
    return e;
}

std::string diameterText(double km) {
    std::string size;
    if (roundHalfEven(km * 10.0) < 100.0) {
        const long long tenths = static_cast<long long>(roundHalfEven(km * 10.0));
        size = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    } else {
        // Groups of three digits, counted from the right.
        const std::string digits = std::to_string(static_cast<long long>(roundHalfEven(km)));
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0) size += ' ';
            size += digits[i];
        }
    }
    return size;
}

std::string featureLabel(const Place& place) {
    std::string type = place.type;
    for (char& c : type)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return place.name + " (" + type + ", " + diameterText(place.diameterKm) + " km)";
}

}  // namespace rubicel
