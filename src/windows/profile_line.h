// SPDX-License-Identifier: MIT
// profile_line.h: a line drawn over the map becomes the elevation profile between its ends.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "maps/drawn_map.h"
#include "maps/elevation_profile.h"

namespace rubicel {

struct MapPicture;
struct Program;

// A run of the profile's path on the map, picture pixels (pixel (x, y) from
// x to x + 1, y to y + 1).
using PathRun = std::vector<std::array<double, 2>>;

// The line over the map and the profile it gave.
struct ProfileLine {
    int revision = -1;  // MapPicture::revision of the picture it was drawn over
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // ends, picture pixels
    ElevationProfile profile;
    std::vector<PathRun> path;  // the profile's own path on the map, as profilePath gives it
};

// True when a profile line may be drawn: a finished map is shown and no drawing runs.
bool dmap_ProfileAllowed(const Program& p);

// The ends of a line from (x0, y0) to (x1, y1): each end is first moved into
// the picture and then along the line to the first pixel that shows a sample;
// the centres of those samples. Nothing when the picture shows no finished map
// or the line no sample.
struct ProfileEnds {
    std::array<std::array<int, 2>, 2> pixels;
    std::array<GeoPoint, 2> points;
};
std::optional<ProfileEnds> profileEnds(const MapPicture& picture, int x0, int y0, int x1, int y1);

// The four tile files the finished map was drawn from, by tile index: the
// folder of the files it read, whatever the data folder has become since.
// Nothing when it read none.
std::optional<std::array<std::string, 4>> drawnTilePaths(const Program& p);

// The profile's points on the map (placeOnPicture), joined in runs: a run ends
// where the path leaves the map's drawn pixels or runs on across the map's
// west and east edges (180° on a map centred on 0°). Points closer than half
// a pixel to the one kept before are left out, except a run's last.
std::vector<PathRun> profilePath(const MapPicture& picture, const ElevationProfile& profile);

// A line ended at (x1, y1) after starting at (x0, y0): the profile between the
// samples at its ends, read from the tiles the map was drawn from, into line,
// replacing the one before. Otherwise the description of the problem, empty when the line shows
// no sample (nothing to tell).
[[nodiscard]] std::optional<std::string> dmap_ProfileLine(Program& p, float x0, float y0, float x1, float y1,
                                                          ProfileLine& line);

// True while the line still belongs to the map shown: until the next map.
bool profileLineShown(const MapPicture& picture, const ProfileLine& line);

// Where point index of the profile lies on the map: on the path drawn, or
// within half a pixel of it where the path leaves points out. Nothing when the
// line is no longer shown or the point lies off the map.
std::optional<PlaceOnPicture> profilePointPlace(const MapPicture& picture, const ProfileLine& line, std::size_t index);

// Where Save Profile offers to write: the maps folder of Save Map.
std::string profileFolder(const Program& p);
// The file name offered, from the ends: "profile_-5.00_-80.00_-15.00_-70.00.csv".
std::string profileFileName(const ElevationProfile& profile);

}  // namespace rubicel
