// SPDX-License-Identifier: MIT
// profile_line.cpp: a line drawn over the map becomes the elevation profile between its ends.
#include "windows/profile_line.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <utility>

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

std::optional<std::array<GeoPoint, 2>> profileEnds(const MapPicture& picture, int x0, int y0, int x1, int y1) {
    const PixelExtent extent = drawnExtent(picture);
    if (extent.width == 0) return std::nullopt;
    std::array<GeoPoint, 2> ends;
    const int xs[2] = {x0, x1}, ys[2] = {y0, y1};
    for (std::size_t k = 0; k < 2; ++k) {
        const auto s = pixelSample(picture, std::clamp(xs[k], 0, extent.width - 1), std::clamp(ys[k], 0, extent.height - 1));
        if (!s) return std::nullopt;
        ends[k] = {s->latitude, s->longitude};
    }
    return ends;
}

std::optional<std::string> dmap_ProfileLine(Program& p, float x0, float y0, float x1, float y1, ProfileLine& line) {
    const int ix0 = int(std::floor(x0)), iy0 = int(std::floor(y0)), ix1 = int(std::floor(x1)), iy1 = int(std::floor(y1));
    const auto ends = profileEnds(p.dmap, ix0, iy0, ix1, iy1);
    if (!ends) return "The map shows no samples there.";
    if (p.File1.size() < 4) return "The four tile files are not found in " + p.map.datafolder;
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < paths.size(); ++t) paths[t] = p.map.datafolder + p.File1[t];
    ElevationProfile profile;
    if (auto error = elevationProfile(paths, (*ends)[0], (*ends)[1], 0, profile)) return error;
    const PixelExtent extent = drawnExtent(p.dmap);
    line.revision = p.dmap.revision;
    line.x0 = std::clamp(ix0, 0, extent.width - 1);
    line.y0 = std::clamp(iy0, 0, extent.height - 1);
    line.x1 = std::clamp(ix1, 0, extent.width - 1);
    line.y1 = std::clamp(iy1, 0, extent.height - 1);
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
    int x = int(std::lround(line.x0 + share * (line.x1 - line.x0)));
    int y = int(std::lround(line.y0 + share * (line.y1 - line.y0)));
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
