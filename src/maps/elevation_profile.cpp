// SPDX-License-Identifier: MIT
// elevation_profile.cpp: the ground along the great circle between two points, from the full-resolution tiles, and its CSV text.
#include "maps/elevation_profile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "common/file_replace.h"

namespace rubicel {
namespace {

constexpr double kSamplesPerDegree = 64.0;
constexpr int kPlanetRows = 2 * kTileRows;       // 11520
constexpr int kPlanetColumns = 2 * kTileColumns;  // 23040
constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kAntipodalDegrees = 1e-9;

struct Vector {
    double x, y, z;
};

Vector unitVector(GeoPoint p) {
    const double phi = p.latitude * kDegree, lambda = p.longitude * kDegree;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

// Appends value with decimals digits after the point, never as "-0.000".
void appendFixed(std::string& text, double value, int decimals) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    const char* begin = buffer;
    if (*begin == '-' && std::all_of(buffer + 1, result.ptr, [](char c) { return c == '0' || c == '.'; })) ++begin;
    text.append(begin, std::size_t(result.ptr - begin));
}

}  // namespace

std::optional<std::string> profilePointProblem(const char* which, GeoPoint point) {
    const std::string name = which;
    if (!(point.latitude >= -90.0 && point.latitude <= 90.0))
        return "the " + name + " latitude must be a number from -90 to 90";
    if (!(point.longitude >= -180.0 && point.longitude <= 360.0))
        return "the " + name + " longitude must be a number from -180 to 360";
    return std::nullopt;
}

double centralAngle(GeoPoint start, GeoPoint end) {
    const Vector a = unitVector(start), b = unitVector(end);
    const Vector c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    // The cross product keeps small and nearly straight angles exact, as acos would not.
    return std::atan2(std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z), a.x * b.x + a.y * b.y + a.z * b.z);
}

bool antipodal(GeoPoint start, GeoPoint end) {
    return std::abs(centralAngle(start, end) / kDegree - 180.0) <= kAntipodalDegrees;
}

int defaultProfilePoints(GeoPoint start, GeoPoint end) {
    const double spacings = std::ceil(centralAngle(start, end) / kDegree * kSamplesPerDegree);
    return std::max(2, int(spacings) + 1);
}

std::optional<std::string> ProfileSampler::elevation(double latitude, double longitude, std::int16_t& out) {
    const int row = std::clamp(int(std::floor((90.0 - latitude) * kSamplesPerDegree)), 0, kPlanetRows - 1);
    double east = std::fmod(longitude, 360.0);
    if (east < 0) east += 360.0;
    const int column = std::clamp(int(std::floor(east * kSamplesPerDegree)), 0, kPlanetColumns) % kPlanetColumns;
    // Rows 0-5759 are the northern tiles, columns from 11520 on the 180-360 tiles.
    const bool north = row < kTileRows, west = column >= kTileColumns;
    const int tile = (north ? 2 : 0) + (west ? 1 : 0);
    const int record = row % kTileRows + 1;
    const int inTile = column % kTileColumns;
    const int block = inTile / kBlockSamples;
    if (tile != tile_ || record != record_ || block != block_) {
        TileFile& file = files_[std::size_t(tile)];
        tile_ = -1;
        if (!file.isOpen())
            if (auto error = file.open(paths_[std::size_t(tile)])) return error;
        const int first = block * kBlockSamples;
        const int count = std::min(kBlockSamples, kTileColumns - first);
        if (auto error = file.readSamples(record, first, count, samples_.data())) return error;
        tile_ = tile;
        record_ = record;
        block_ = block;
    }
    std::int16_t sample = samples_[std::size_t(inTile % kBlockSamples)];
    out = byteswap(sample);
    return std::nullopt;
}

std::optional<std::string> elevationProfile(const std::array<std::string, 4>& tilePaths, GeoPoint start, GeoPoint end,
                                            int points, ElevationProfile& out) {
    if (antipodal(start, end))
        return "the two points are antipodal: no single great-circle arc joins them";
    if (points == 0) points = defaultProfilePoints(start, end);
    if (points < 2 || points > kMaxProfilePoints) return "a profile has from 2 to 1000000 points";

    const double theta = centralAngle(start, end);
    const Vector a = unitVector(start), b = unitVector(end);
    const double sinTheta = std::sin(theta);
    out.start = start;
    out.end = end;
    out.length = theta * kProfileRadius;
    out.points.resize(std::size_t(points));
    ProfileSampler sampler(tilePaths);
    for (int i = 0; i < points; ++i) {
        const double t = double(i) / double(points - 1);
        Vector v = a;  // coincident points: every point is the start
        if (sinTheta != 0.0) {
            const double wa = std::sin((1.0 - t) * theta) / sinTheta, wb = std::sin(t * theta) / sinTheta;
            v = {wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z};
        }
        ProfilePoint& p = out.points[std::size_t(i)];
        p.latitude = std::asin(std::clamp(v.z, -1.0, 1.0)) / kDegree;
        p.longitude = std::atan2(v.y, v.x) / kDegree;
        if (p.longitude >= 180.0) p.longitude -= 360.0;
        p.distance = t * theta * kProfileRadius;
        if (auto error = sampler.elevation(p.latitude, p.longitude, p.elevation)) return error;
    }
    return std::nullopt;
}

ProfileExtremes profileExtremes(const ElevationProfile& profile) {
    ProfileExtremes e;
    for (std::size_t i = 1; i < profile.points.size(); ++i) {
        if (profile.points[i].elevation < profile.points[e.lowest].elevation) e.lowest = i;
        if (profile.points[i].elevation > profile.points[e.highest].elevation) e.highest = i;
    }
    return e;
}

std::string profileCsv(const ElevationProfile& profile) {
    std::string text = "distance_km,latitude,longitude,elevation_m\n";
    text.reserve(text.size() + profile.points.size() * 40);
    for (const ProfilePoint& p : profile.points) {
        appendFixed(text, p.distance / 1000.0, 3);
        text += ',';
        appendFixed(text, p.latitude, 6);
        text += ',';
        appendFixed(text, p.longitude, 6);
        text += ',';
        text += std::to_string(p.elevation);
        text += '\n';
    }
    return text;
}

std::optional<std::string> writeProfileCsv(const std::string& path, const ElevationProfile& profile) {
    const std::string text = profileCsv(profile);
    const auto failure =
        replaceFile(path, [&text](int fd) { return writeAll(fd, text.data(), text.size()); }, LinkAtPath::Replace);
    if (!failure) return std::nullopt;
    return describeFailure(*failure);
}

}  // namespace rubicel
