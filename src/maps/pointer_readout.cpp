// SPDX-License-Identifier: MIT
// pointer_readout.cpp: latitude, longitude and elevation of the sample under the pointer on the map picture.
#include "maps/pointer_readout.h"

#include <cmath>
#include <cstdio>

#include "maps/map_context.h"
#include "maps/map_picture.h"
#include "places/place_index.h"

namespace rubicel {
namespace {

// |value| with two decimals, rounded half to even in hundredths.
std::string hundredths(double value) {
    const long long h = static_cast<long long>(std::nearbyint(std::fabs(value) * 100.0));
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", h / 100, h % 100);
    return text;
}

// Metres with a space between groups of three digits: "21 130", "-8 050".
std::string metres(int value) {
    std::string digits = std::to_string(std::abs(value));
    for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(std::size_t(at), " ");
    return (value < 0 ? "-" : "") + digits;
}

}  // namespace

std::optional<PointerReading> PointerReadout::read(const MapPicture& picture, int x, int y) {
    const std::optional<PixelSample> sample = pixelSample(picture, x, y);
    if (!sample) return std::nullopt;
    const std::string& file = picture.shows.files[std::size_t(sample->tile)];
    if (file.empty()) return std::nullopt;
    if (file != file_ || sample->record != record_) {
        file_.clear();
        TileFile tile;
        if (tile.open(file) || tile.readRecord(sample->record, row_)) return std::nullopt;
        file_ = file;
        record_ = sample->record;
    }
    std::int16_t stored = row_[std::size_t(sample->column)];
    return PointerReading{*sample, byteswap(stored)};
}

std::string readoutText(const PointerReading& reading) {
    const double latitude = reading.sample.latitude;
    // East longitude from 0 up to 360, and from -180 up to 180.
    const double east = std::fmod(std::fmod(reading.sample.longitude, 360.0) + 360.0, 360.0);
    const double signedEast = east > 180.0 ? east - 360.0 : east;
    std::string text = hundredths(latitude) + (latitude < 0 ? "°S  " : "°N  ") + hundredths(signedEast);
    if (signedEast < 0) text += "°W (" + hundredths(east) + "°E)";
    else text += "°E";
    return text + "   " + metres(reading.elevation) + " m";
}

std::string readoutText(const PointerReading& reading, const PlaceIndex& places) {
    std::string text = readoutText(reading);
    if (const Place* feature = places.featureAt(reading.sample.latitude, reading.sample.longitude))
        text += "   " + featureLabel(*feature);
    return text;
}

void dmap_MouseMove(MapContext& p, float x, float y) {
    const auto reading = p.readout.read(p.dmap, int(std::floor(x)), int(std::floor(y)));
    p.ui.showPointerText(reading ? readoutText(*reading, PlaceIndex::shared()) : std::string());
}

void dmap_MouseLeave(MapContext& p) { p.ui.showPointerText(std::string()); }

}  // namespace rubicel
