// SPDX-License-Identifier: MIT
// profile_line.cpp: a line drawn over the map becomes the elevation profile between its ends.
#include "windows/profile_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "common/rounding.h"
#include "maps/drawn_map.h"
#include "maps/map_picture.h"
#include "windows/program.h"

namespace rubicel {

bool dmap_ProfileAllowed(const Program& p) { return drawnExtent(p.dmap).width > 0; }

std::optional<ProfileEnds> profileEnds(const MapPicture& picture, int x0, int y0, int x1, int y1) {
    const PixelExtent extent = drawnExtent(picture);
    if (extent.width == 0) return std::nullopt;
    x0 = std::clamp(x0, 0, extent.width - 1);
    y0 = std::clamp(y0, 0, extent.height - 1);
    x1 = std::clamp(x1, 0, extent.width - 1);
    y1 = std::clamp(y1, 0, extent.height - 1);
    ProfileEnds ends;
    const int from[2][2] = {{x0, y0}, {x1, y1}};
    for (std::size_t k = 0; k < 2; ++k) {
        // From this end towards the other, to the first pixel showing a sample:
        // a polar map shows none beyond its limit circle.
        const int* a = from[k];
        const int* b = from[1 - k];
        const int steps = std::max(std::abs(b[0] - a[0]), std::abs(b[1] - a[1]));
        std::optional<PixelSample> s;
        for (int i = 0; i <= steps && !s; ++i) {
            const double t = steps > 0 ? double(i) / steps : 0.0;
            ends.pixels[k] = {int(roundHalfEven(a[0] + t * (b[0] - a[0]))), int(roundHalfEven(a[1] + t * (b[1] - a[1])))};
            s = pixelSample(picture, ends.pixels[k][0], ends.pixels[k][1]);
        }
        if (!s) return std::nullopt;
        ends.points[k] = {s->latitude, s->longitude};
    }
    return ends;
}

std::optional<std::array<std::string, 4>> drawnTilePaths(const Program& p) {
    if (p.File1.size() < 4) return std::nullopt;
    // The map names the files it read by tile index; the folder is what comes
    // before the tile's name.
    for (std::size_t t = 0; t < 4; ++t) {
        const std::string& file = p.dmap.shows.files[t];
        const std::string& name = p.File1[t];
        if (file.size() < name.size() || file.compare(file.size() - name.size(), name.size(), name) != 0) continue;
        const std::string folder = file.substr(0, file.size() - name.size());
        std::array<std::string, 4> paths;
        for (std::size_t i = 0; i < paths.size(); ++i) paths[i] = folder + p.File1[i];
        return paths;
    }
    return std::nullopt;
}

std::vector<PathRun> profilePath(const MapPicture& picture, const ElevationProfile& profile) {
    constexpr double kLeftOut = 0.5;  // pixels
    // A polar map has no edge the longitudes run across.
    const bool seamless = picture.shows.pole != 0;
    std::vector<PathRun> runs;
    std::optional<PlaceOnPicture> previous;
    for (const ProfilePoint& point : profile.points) {
        const std::optional<PlaceOnPicture> at = placeOnPicture(picture, point.latitude, point.longitude);
        const bool joined = at && previous && (seamless || std::abs(at->longitude - previous->longitude) <= 180.0);
        previous = at;
        if (!at) continue;
        if (!joined) runs.emplace_back();
        PathRun& run = runs.back();
        // The last point stands in for those closer than kLeftOut to the one kept before it.
        const std::size_t n = run.size();
        if (n >= 2 && std::hypot(run[n - 1][0] - run[n - 2][0], run[n - 1][1] - run[n - 2][1]) < kLeftOut)
            run.back() = {at->x, at->y};
        else
            run.push_back({at->x, at->y});
    }
    return runs;
}

std::optional<std::string> dmap_ProfileLine(Program& p, float x0, float y0, float x1, float y1, ProfileLine& line) {
    const auto ends = profileEnds(p.dmap, int(std::floor(x0)), int(std::floor(y0)), int(std::floor(x1)),
                                  int(std::floor(y1)));
    if (!ends) return std::string();
    // The tiles the map was drawn from: the data folder may have been changed
    // since in the folder panel, which takes effect only at the next start.
    const std::optional<std::array<std::string, 4>> paths = drawnTilePaths(p);
    if (!paths) return "The four tile files are not found in " + p.map.datafolder;
    ElevationProfile profile;
    if (auto error = elevationProfile(*paths, ends->points[0], ends->points[1], 0, profile)) return error;
    line.revision = p.dmap.revision;
    line.x0 = ends->pixels[0][0];
    line.y0 = ends->pixels[0][1];
    line.x1 = ends->pixels[1][0];
    line.y1 = ends->pixels[1][1];
    line.profile = std::move(profile);
    line.path = profilePath(p.dmap, line.profile);
    return std::nullopt;
}

bool profileLineShown(const MapPicture& picture, const ProfileLine& line) {
    return line.revision == picture.revision && drawnExtent(picture).width > 0;
}

std::optional<PlaceOnPicture> profilePointPlace(const MapPicture& picture, const ProfileLine& line, std::size_t index) {
    if (!profileLineShown(picture, line) || index >= line.profile.points.size()) return std::nullopt;
    const ProfilePoint& point = line.profile.points[index];
    return placeOnPicture(picture, point.latitude, point.longitude);
}

std::string profileFolder(const Program& p) { return p.map.startfolder + "/Maps"; }

std::string profileFileName(const ElevationProfile& profile) {
    char name[96];
    std::snprintf(name, sizeof name, "profile_%.2f_%.2f_%.2f_%.2f.csv", profile.start.latitude,
                  profile.start.longitude, profile.end.latitude, profile.end.longitude);
    std::string text = name;
    // Whatever the locale, the file name keeps points.
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

}  // namespace rubicel
