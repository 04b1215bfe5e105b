// SPDX-License-Identifier: MIT
// place_labels.cpp: the landing sites' markers and names and the features' names, placed greedily where there is room.
#include "furniture/place_labels.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "furniture/label_board.h"
#include "furniture/label_font.h"

namespace rubicel {

namespace {

constexpr double kOffset = 2.0;  // from the named point to the label's nearest corner or side

bool onMap(const MapGeometry& map, const PictureBox& box) {
    return map.shows({box.left, box.top}) && map.shows({box.right(), box.top}) &&
           map.shows({box.left, box.bottom()}) && map.shows({box.right(), box.bottom()});
}

// The boxes around p, offset away from it, in the order they are tried.
struct Spot {
    PictureBox box;
    LabelPlacement placement;
};
std::array<Spot, 6> spotsAround(PicturePoint p, double offset, double w, double h) {
    return {{
        {{p.x + offset, p.y - offset - h, w, h}, LabelPlacement::AboveRight},
        {{p.x - offset - w, p.y - offset - h, w, h}, LabelPlacement::AboveLeft},
        {{p.x + offset, p.y + offset, w, h}, LabelPlacement::BelowRight},
        {{p.x - offset - w, p.y + offset, w, h}, LabelPlacement::BelowLeft},
        {{p.x + offset, p.y - h / 2, w, h}, LabelPlacement::Right},
        {{p.x - offset - w, p.y - h / 2, w, h}, LabelPlacement::Left},
    }};
}

// Takes the first spot on the map with room on the board; false when none has.
bool placeAt(const MapGeometry& map, LabelBoard& board, FurnitureLayout& layout, const MeasuredText& text,
             LabelRole role, PicturePoint anchor, std::span<const Spot> spots) {
    for (const Spot& s : spots) {
        if (!onMap(map, s.box) || !board.free(s.box)) continue;
        board.take(s.box);
        layout.labels.push_back(labelAt(text, role, s.box.left, s.box.top, anchor, s.placement));
        return true;
    }
    return false;
}

}  // namespace

std::vector<double> namingSizes(std::span<const PlaceInView> features) {
    // A smaller feature sharing a centre lies within a tenth of the larger
    // one's diameter across: only that strip of the features, sorted by x, is
    // looked at.
    std::vector<std::size_t> byX(features.size());
    for (std::size_t i = 0; i < byX.size(); ++i) byX[i] = i;
    std::sort(byX.begin(), byX.end(),
              [&features](std::size_t a, std::size_t b) { return features[a].at.x < features[b].at.x; });
    std::vector<double> sizes(features.size());
    for (std::size_t i = 0; i < features.size(); ++i) {
        const PlaceInView& feature = features[i];
        double size = feature.diameterPixels;
        const double reach = size * kSharedCentre;
        auto k = std::lower_bound(byX.begin(), byX.end(), feature.at.x - reach,
                                  [&features](std::size_t a, double x) { return features[a].at.x < x; });
        for (; k != byX.end() && features[*k].at.x <= feature.at.x + reach; ++k) {
            const PlaceInView& other = features[*k];
            if (!(other.diameterPixels < size)) continue;
            const double dx = other.at.x - feature.at.x;
            const double dy = other.at.y - feature.at.y;
            const double near = other.diameterPixels * kSharedCentre;
            if (dx * dx + dy * dy <= near * near) size = other.diameterPixels;
        }
        sizes[i] = size;
    }
    return sizes;
}

std::vector<PlaceInView> featuresInView(const MapGeometry& map, std::span<const MapPlace> places,
                                        double minDiameterPixels) {
    std::vector<PlaceInView> shown;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const MapPlace& place = places[i];
        if (place.kind != PlaceKind::Feature || !(place.diameterKm > 0)) continue;
        const auto at = map.pointOf(place.latitude, place.longitude);
        if (!at) continue;
        const double diameter = place.diameterKm / map.kilometresPerPixel(place.latitude);
        if (diameter >= minDiameterPixels) shown.push_back({i, *at, diameter});
    }
    return shown;
}

TextSize nameSize(double diameterPixels) {
    if (diameterPixels >= 160.0) return TextSize::Large;
    if (diameterPixels >= 48.0) return TextSize::Medium;
    return TextSize::Small;
}

void layOutLandingSites(const MapGeometry& map, const LabelFont& font, std::span<const MapPlace> places,
                        LabelBoard& board, FurnitureLayout& layout) {
    // Every marker first, so that no lander's name covers another's marker.
    struct Site {
        std::size_t index;
        PicturePoint at;
    };
    std::vector<Site> sites;
    const double radius = kMarkerRadius * layout.unit;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].kind != PlaceKind::LandingSite) continue;
        const auto at = map.pointOf(places[i].latitude, places[i].longitude);
        if (!at) continue;
        sites.push_back({i, *at});
        layout.markers.push_back({*at, radius});
        board.take({at->x - radius, at->y - radius, 2 * radius, 2 * radius});
    }
    // In the order of their names, whatever the order of the list.
    std::sort(sites.begin(), sites.end(), [&places](const Site& a, const Site& b) {
        const MapPlace& p = places[a.index];
        const MapPlace& q = places[b.index];
        return std::tie(p.name, p.latitude, p.longitude, a.index) < std::tie(q.name, q.latitude, q.longitude, b.index);
    });
    for (const Site& site : sites) {
        const MeasuredText text = measureText(font, places[site.index].name, TextSize::Small, layout.unit);
        const auto spots = spotsAround(site.at, radius + kOffset * layout.unit, text.width, text.height);
        // Right of the marker reads best beside a point: tried first.
        const std::array<Spot, 6> order = {spots[4], spots[0], spots[2], spots[5], spots[1], spots[3]};
        placeAt(map, board, layout, text, LabelRole::LandingSite, site.at, order);
    }
}

void layOutPlaceNames(const MapGeometry& map, const LabelFont& font, std::span<const MapPlace> places,
                      LabelBoard& board, FurnitureLayout& layout) {
    const double u = layout.unit;
    const std::vector<PlaceInView> inView = featuresInView(map, places, kNamedDiameter * u);
    // Larger first, except that a feature sharing its centre with a smaller
    // one comes right after it; equal ones in an order of their own, not of
    // the list's.
    const std::vector<double> turn = namingSizes(inView);
    std::vector<std::size_t> order(inView.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t i, std::size_t k) {
        const PlaceInView& a = inView[i];
        const PlaceInView& b = inView[k];
        const MapPlace& p = places[a.index];
        const MapPlace& q = places[b.index];
        return std::tie(turn[k], a.diameterPixels, p.name, p.latitude, p.longitude, a.index) <
               std::tie(turn[i], b.diameterPixels, q.name, q.latitude, q.longitude, b.index);
    });
    for (const std::size_t i : order) {
        const PlaceInView& feature = inView[i];
        const MeasuredText text =
            measureText(font, places[feature.index].name, nameSize(feature.diameterPixels / u), u);
        const double w = text.width, h = text.height;
        std::array<Spot, 7> spots;
        std::size_t count = 0;
        // Centred when the whole text line fits inside the feature's circle.
        const double radius = feature.diameterPixels / 2;
        if (w * w + h * h <= 4 * radius * radius)
            spots[count++] = {{feature.at.x - w / 2, feature.at.y - h / 2, w, h}, LabelPlacement::Centred};
        for (const Spot& s : spotsAround(feature.at, kOffset * u, w, h)) spots[count++] = s;
        placeAt(map, board, layout, text, LabelRole::PlaceName, feature.at, std::span(spots.data(), count));
    }
}

}  // namespace rubicel
