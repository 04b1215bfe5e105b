// SPDX-License-Identifier: MIT
// profile_line.cpp: a line drawn over the map becomes the elevation profile between its ends.
#include "windows/profile_line.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <utility>

#include "common/rounding.h"
#include "maps/drawn_map.h"
#include "maps/map_picture.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// The angle between the sample pixel (x, y) shows and point; nothing off the samples.
std::optional<double> angleTo(const MapPicture& picture, int x, int y, GeoPoint point) {
    const auto s = pixelSample(picture, x, y);
    if (!s) return std::nullopt;
    return centralAngle({s->latitude, s->longitude}, point);
}

}  // namespace

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

std::optional<std::string> dmap_ProfileLine(Program& p, float x0, float y0, float x1, float y1, ProfileLine& line) {
    const auto ends = profileEnds(p.dmap, int(std::floor(x0)), int(std::floor(y0)), int(std::floor(x1)),
                                  int(std::floor(y1)));
    if (!ends) return std::string();
    if (p.File1.size() < 4) return "The four tile files are not found in " + p.map.datafolder;
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < paths.size(); ++t) paths[t] = p.map.datafolder + p.File1[t];
    ElevationProfile profile;
    if (auto error = elevationProfile(paths, ends->points[0], ends->points[1], 0, profile)) return error;
    line.revision = p.dmap.revision;
    line.x0 = ends->pixels[0][0];
    line.y0 = ends->pixels[0][1];
    line.x1 = ends->pixels[1][0];
    line.y1 = ends->pixels[1][1];
    line.profile = std::move(profile);
    return std::nullopt;
}

bool profileLineShown(const MapPicture& picture, const ProfileLine& line) {
    return line.revision == picture.revision && drawnExtent(picture).width > 0;
}

std::optional<std::array<int, 2>> profilePointPixel(const MapPicture& picture, const ProfileLine& line,
                                                    std::size_t index) {
    if (!profileLineShown(picture, line) || index >= line.profile.points.size()) return std::nullopt;
    const ProfilePoint& target = line.profile.points[index];
    const GeoPoint point{target.latitude, target.longitude};
    // From the same share of the drawn line, downhill in the angle to the point
    // with ever shorter moves: any mapping of pixels to samples that is smooth
    // nearby (area maps, whole tiles, polar maps) finds its pixel.
    const double share = line.profile.length > 0 ? target.distance / line.profile.length : 0.0;
    int x = int(roundHalfEven(line.x0 + share * (line.x1 - line.x0)));
    int y = int(roundHalfEven(line.y0 + share * (line.y1 - line.y0)));
    auto best = angleTo(picture, x, y, point);
    if (!best) return std::nullopt;
    for (int move = 64; move >= 1; move /= 2) {
        for (bool moved = true; moved;) {
            moved = false;
            for (const auto& [dx, dy] : {std::pair{move, 0}, {-move, 0}, {0, move}, {0, -move}, {move, move},
                                        {-move, -move}, {move, -move}, {-move, move}}) {
                const auto angle = angleTo(picture, x + dx, y + dy, point);
                if (angle && *angle < *best) {
                    best = angle;
                    x += dx;
                    y += dy;
                    moved = true;
                }
            }
        }
    }
    return std::array<int, 2>{x, y};
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

std::string profileSavePath(const std::string& chosen) {
    std::string tail = chosen.size() >= 4 ? chosen.substr(chosen.size() - 4) : std::string();
    for (char& c : tail) c = char(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".csv" ? chosen : chosen + ".csv";
}

}  // namespace rubicel
