// SPDX-License-Identifier: MIT
// elevation_profile.h: the ground along the great circle between two points, from the full-resolution tiles, and its CSV text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "maps/tile_file.h"

namespace rubicel {

inline constexpr double kProfileRadius = 3396190.0;  // metres, the Mars sphere
inline constexpr int kMaxProfilePoints = 1000000;

// Degrees north and east.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

struct ProfilePoint {
    double distance = 0;   // metres along the arc from the start
    double latitude = 0;   // degrees north
    double longitude = 0;  // degrees east, -180 up to 180
    std::int16_t elevation = 0;  // metres
};

struct ElevationProfile {
    GeoPoint start, end;  // as given
    double length = 0;    // metres along the arc
    std::vector<ProfilePoint> points;
};

// What is wrong with an end point (latitude -90 to 90, longitude -180 to 360,
// both numbers), named by which ("start", "end"); nothing when it is fine.
std::optional<std::string> profilePointProblem(const char* which, GeoPoint point);

// The angle between the two points seen from the centre, in radians.
double centralAngle(GeoPoint start, GeoPoint end);

// True when no single arc joins the two points (180 degrees apart within 1e-9 degrees).
bool antipodal(GeoPoint start, GeoPoint end);

// One point per sample spacing along the arc: max(2, ceil(angle in degrees x 64) + 1).
int defaultProfilePoints(GeoPoint start, GeoPoint end);

// Reads single samples of the four tiles by planet position. The block of a
// record last read is kept, so points that follow each other along a record
// read nothing more; a file is opened when first needed and stays open while
// the sampler lives.
class ProfileSampler {
public:
    // Paths by tile index (0 south-east, 1 south-west, 2 north-east, 3 north-west).
    explicit ProfileSampler(std::array<std::string, 4> paths) : paths_(std::move(paths)) {}

    // The sample holding the point, or the description of why it cannot be read.
    [[nodiscard]] std::optional<std::string> elevation(double latitude, double longitude, std::int16_t& out);

    static constexpr int kBlockSamples = 512;

private:
    std::array<std::string, 4> paths_;
    std::array<TileFile, 4> files_;
    int tile_ = -1, record_ = 0, block_ = -1;  // what block_ holds
    std::array<std::int16_t, kBlockSamples> samples_{};
};

// The profile of points points (0: the default number) between start and end,
// into out; the description of the problem when the points are refused or a
// tile cannot be read. The points must have passed profilePointProblem.
[[nodiscard]] std::optional<std::string> elevationProfile(const std::array<std::string, 4>& tilePaths, GeoPoint start,
                                                          GeoPoint end, int points, ElevationProfile& out);

// The positions of the lowest and the highest points (the first of equals).
struct ProfileExtremes {
    std::size_t lowest = 0, highest = 0;
};
ProfileExtremes profileExtremes(const ElevationProfile& profile);

// The CSV text: "distance_km,latitude,longitude,elevation_m", then a line per
// point, km to 3 decimals, degrees to 6, whole metres; C locale, "\n" line ends.
std::string profileCsv(const ElevationProfile& profile);

// Writes the CSV text to path, replacing the file whole; the description of the
// failure naming the file.
[[nodiscard]] std::optional<std::string> writeProfileCsv(const std::string& path, const ElevationProfile& profile);

}  // namespace rubicel
