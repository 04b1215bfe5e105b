// SPDX-License-Identifier: MIT
// drag_box.cpp: a rubber band dragged over the map becomes an area map of that box.
#include "windows/drag_box.h"

#include <algorithm>
#include <cmath>

#include "maps/area_renderer.h"
#include "maps/drawn_map.h"
#include "maps/map_picture.h"
#include "windows/feature_catalogue.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// Whole-degree limits lo < hi around the values low..high: outward, or the one
// degree holding their middle when they lie less than a degree apart.
std::array<int, 2> outward(double low, double high) {
    if (high - low < 1.0) {
        const int lo = int(std::floor((low + high) / 2.0));
        return {lo, lo + 1};
    }
    return {int(std::floor(low)), int(std::ceil(high))};
}

}  // namespace

std::optional<std::array<std::int16_t, 4>> dragLimits(const MapPicture& picture, int x0, int y0, int x1, int y1) {
    // A box on a polar map is no latitude/longitude box.
    if (picture.shows.pole != 0) return std::nullopt;
    const PixelExtent extent = drawnExtent(picture);
    if (extent.width == 0) return std::nullopt;
    auto clampX = [&](int x) { return std::clamp(x, 0, extent.width - 1); };
    auto clampY = [&](int y) { return std::clamp(y, 0, extent.height - 1); };
    // Longitudes grow to the right and latitudes fall downwards on every map.
    const auto northWest = pixelSample(picture, clampX(std::min(x0, x1)), clampY(std::min(y0, y1)));
    const auto southEast = pixelSample(picture, clampX(std::max(x0, x1)), clampY(std::max(y0, y1)));
    if (!northWest || !southEast) return std::nullopt;

    auto [west, east] = outward(northWest->longitude, southEast->longitude);
    const auto [south, north] = outward(southEast->latitude, northWest->latitude);
    // The area renderer starts from the tile of the north-west corner, which
    // needs a west limit from -180 up to 180; a box past 180 runs on east.
    if (west < -180) {
        west += 360;
        east += 360;
    }
    if (west >= 180) {
        west -= 360;
        east -= 360;
    }
    return std::array<std::int16_t, 4>{std::int16_t(west), std::int16_t(north), std::int16_t(east),
                                       std::int16_t(south)};
}

bool dmap_DragAllowed(const Program& p) { return p.dmap.shows.pole == 0 && drawnExtent(p.dmap).width > 0; }

void dmap_Drag(Program& p, float x0, float y0, float x1, float y1) {
    const auto limits = dragLimits(p.dmap, int(std::floor(x0)), int(std::floor(y0)), int(std::floor(x1)),
                                   int(std::floor(y1)));
    if (!limits) return;
    // The read-out names a pixel of the map being replaced.
    p.ui.showPointerText(std::string());
    m_area_Click(p);
    p.map.maparea = *limits;
    mapfromtile(p, (*limits)[0], (*limits)[1], (*limits)[2], (*limits)[3]);
}

}  // namespace rubicel
