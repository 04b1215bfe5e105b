// SPDX-License-Identifier: MIT
// graticule.cpp: meridians and parallels every few degrees, with their labels.
#include "furniture/graticule.h"

#include <array>
#include <cmath>
#include <numbers>

#include "furniture/label_board.h"
#include "furniture/label_font.h"

namespace rubicel {

namespace {

constexpr std::array<int, 8> kIntervals = {1, 2, 5, 10, 15, 30, 45, 90};
// Labels stand this far inside the map's edges, and this far from their line.
constexpr double kEdgeInset = 3.0;
constexpr double kLineGap = 2.0;

// Whether every corner of box lies on the map (inside the limit circle of a polar map).
bool onMap(const MapGeometry& map, const PictureBox& box) {
    return map.shows({box.left, box.top}) && map.shows({box.right(), box.top}) &&
           map.shows({box.left, box.bottom()}) && map.shows({box.right(), box.bottom()});
}

// Places the first of the candidate boxes that lies on the map and keeps clear
// of the board.
struct Candidate {
    double left, top;
    LabelPlacement placement;
};
void placeFirstFree(const MapGeometry& map, LabelBoard& board, FurnitureLayout& layout, const MeasuredText& text,
                    LabelRole role, PicturePoint anchor, std::initializer_list<Candidate> candidates) {
    for (const Candidate& c : candidates) {
        const PictureBox box{c.left, c.top, text.width, text.height};
        if (!onMap(map, box) || !board.free(box)) continue;
        board.take(box);
        layout.labels.push_back(labelAt(text, role, c.left, c.top, anchor, c.placement));
        return;
    }
}

void equirectangularGraticule(const MapGeometry& map, int interval, bool labelled, const LabelFont& font,
                              LabelBoard& board, FurnitureLayout& layout) {
    const double width = map.width(), height = map.height();
    struct Line {
        long long degrees;
        double at;  // the centre of its column or row
    };
    std::vector<Line> meridians, parallels;
    // Longitudes grow across the map; a line on every multiple of the interval
    // whose column the map shows.
    const double west = map.columnWest(0), east = map.columnWest(map.width());
    for (long long k = (long long)std::ceil(west / interval); double(k * interval) < east; ++k) {
        const auto x = map.columnHolding(double(k * interval));
        if (!x) continue;
        const double at = *x + 0.5;
        meridians.push_back({k * interval, at});
        layout.lines.push_back({LineStyle::Grid, true, double(k * interval), {{at, 0.0}, {at, height}}});
    }
    // From north to south; the poles are no lines.
    const double north = map.rowNorth(0), south = map.rowNorth(map.height());
    for (long long k = (long long)std::floor(north / interval); double(k * interval) > south; --k) {
        const long long degrees = k * interval;
        if (degrees >= 90 || degrees <= -90) continue;
        const auto y = map.rowHolding(double(degrees));
        if (!y) continue;
        const double at = *y + 0.5;
        parallels.push_back({degrees, at});
        layout.lines.push_back({LineStyle::Grid, false, double(degrees), {{0.0, at}, {width, at}}});
    }
    // Longitudes along the top, right of their line or else left of it;
    // latitudes along the left, over their line or else under it.
    if (!labelled) return;
    const double u = layout.unit, inset = kEdgeInset * u, apart = (kGridLineWidth / 2 + kLineGap) * u;
    for (const Line& m : meridians) {
        const MeasuredText text = measureText(font, longitudeText(m.degrees), TextSize::Small, u);
        const double right = m.at + apart, left = m.at - apart - text.width;
        placeFirstFree(map, board, layout, text, LabelRole::Longitude, {m.at, 0.0},
                       {{right, inset, LabelPlacement::Right}, {left, inset, LabelPlacement::Left}});
    }
    for (const Line& p : parallels) {
        const MeasuredText text = measureText(font, latitudeText(p.degrees), TextSize::Small, u);
        const double above = p.at - apart - text.height, below = p.at + apart;
        placeFirstFree(map, board, layout, text, LabelRole::Latitude, {0.0, p.at},
                       {{inset, above, LabelPlacement::Above}, {inset, below, LabelPlacement::Below}});
    }
}

// The intervals a polar map's meridians thin out through towards the pole:
// from interval on, each the next of kIntervals that is a multiple of the one
// before, up to 90.
std::vector<int> thinningChain(int interval) {
    std::vector<int> chain{interval};
    for (const int i : kIntervals)
        if (i > chain.back() && i % chain.back() == 0) chain.push_back(i);
    return chain;
}

void polarGraticule(const MapGeometry& map, int interval, bool longitudesLabelled, const LabelFont& font,
                    LabelBoard& board, FurnitureLayout& layout) {
    const PicturePoint pole = map.poleAt();
    const double rim = map.rimRadius();
    const int hemisphere = map.pole();
    const double u = layout.unit;

    // Parallels from the limit towards the pole.
    for (long long k = (long long)std::ceil(double(map.limit()) / interval); k * interval < 90; ++k) {
        const double latitude = double(hemisphere * k * interval);
        layout.circles.push_back({LineStyle::Grid, latitude, pole, map.parallelRadius(latitude)});
    }

    // Meridians: those on a multiple of a longer interval of the chain reach
    // further in, each set starting where its lines come kGridSpacing apart;
    // multiples of 90 run into the pole, where they meet.
    const std::vector<int> chain = thinningChain(interval);
    struct Meridian {
        long long degrees;
        PicturePoint direction;  // unit vector from the pole along the meridian
    };
    std::vector<Meridian> reaching;
    for (long long degrees = 0; degrees < 360; degrees += interval) {
        int level = interval;
        for (const int i : chain)
            if (degrees % i == 0) level = i;
        const double start = level == 90 ? 0.0 : kGridSpacing * u / (level * std::numbers::pi / 180.0);
        if (start >= rim) continue;
        // North: longitude 0 points down the picture; south: up.
        const double lambda = double(degrees) * std::numbers::pi / 180.0;
        const PicturePoint u{std::sin(lambda), hemisphere > 0 ? std::cos(lambda) : -std::cos(lambda)};
        layout.lines.push_back({LineStyle::Grid, true, double(degrees),
                                {{pole.x + start * u.x, pole.y + start * u.y}, {pole.x + rim * u.x, pole.y + rim * u.y}}});
        reaching.push_back({degrees, u});
    }

    // Longitudes round the rim, just inside it on their meridian.
    if (longitudesLabelled) {
        for (const Meridian& m : reaching) {
            const MeasuredText text = measureText(font, longitudeText(m.degrees), TextSize::Small, u);
            const double support =
                std::fabs(m.direction.x) * text.width / 2 + std::fabs(m.direction.y) * text.height / 2;
            const double reach = rim - kEdgeInset * u - support;
            const PicturePoint centre{pole.x + reach * m.direction.x, pole.y + reach * m.direction.y};
            placeFirstFree(map, board, layout, text, LabelRole::Longitude,
                           {pole.x + rim * m.direction.x, pole.y + rim * m.direction.y},
                           {{centre.x - text.width / 2, centre.y - text.height / 2, LabelPlacement::Inward}});
        }
    }
    // Latitudes along the meridian that runs straight up from the pole, right
    // of it and just inside their circle.
    for (const GridCircle& c : layout.circles) {
        const MeasuredText text = measureText(font, latitudeText((long long)c.latitude), TextSize::Small, u);
        const PicturePoint crossing{pole.x, pole.y - c.radius};
        placeFirstFree(map, board, layout, text, LabelRole::Latitude, crossing,
                       {{crossing.x + kLineGap * u, crossing.y + kLineGap * u, LabelPlacement::BelowRight}});
    }
}

}  // namespace

int graticuleInterval(double unitsPerDegree, double spacing) {
    for (const int i : kIntervals)
        if (double(i) * unitsPerDegree >= spacing) return i;
    return kIntervals.back();
}

int graticuleInterval(int step) { return graticuleInterval(64.0 / double(step < 1 ? 1 : step), kGridSpacing); }

std::string latitudeText(long long degrees) {
    if (degrees == 0) return "0°";
    return std::to_string(degrees < 0 ? -degrees : degrees) + (degrees < 0 ? "°S" : "°N");
}

std::string longitudeText(long long degrees) { return std::to_string(((degrees % 360) + 360) % 360) + "°E"; }

void layOutGraticule(const MapGeometry& map, const FurnitureLayers& layers, const LabelFont& font, LabelBoard& board,
                     FurnitureLayout& layout) {
    layout.interval = layers.gridInterval > 0 ? layers.gridInterval : graticuleInterval(map.step());
    // A figure labels an equirectangular map's lines and a polar map's
    // meridians beside its frame; a polar map's circles only on the map.
    const bool onMap = layers.gridLabels == GridLabels::OnTheMap;
    if (map.polar()) polarGraticule(map, layout.interval, onMap, font, board, layout);
    else equirectangularGraticule(map, layout.interval, onMap, font, board, layout);
}

}  // namespace rubicel
