// SPDX-License-Identifier: MIT
// feature_grid.cpp: the named features sorted into cells of 1° by 1°, smallest first, for the pointer read-out.
#include "places/feature_grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

namespace rubicel {
namespace {

constexpr int kRows = 180;
constexpr int kColumns = 360;

int rowOf(double latitude) { return std::clamp(int(std::floor(latitude)) + 90, 0, kRows - 1); }

int columnOf(double longitude) {
    const double east = std::fmod(longitude, double(kColumns));
    return std::clamp(int(std::floor(east < 0 ? east + kColumns : east)), 0, kColumns - 1);
}

// Calls visit(cell) for every cell the box reaches into, each once.
template <typename Visit>
void forEachCell(const GeoBox& box, Visit visit) {
    const int firstRow = rowOf(box.south), lastRow = rowOf(box.north);
    const int span = box.east - box.west >= kColumns ? kColumns
                                                     : int(std::floor(box.east)) - int(std::floor(box.west)) + 1;
    const int firstColumn = columnOf(box.west);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int i = 0; i < std::min(span, kColumns); ++i) visit(row * kColumns + (firstColumn + i) % kColumns);
}

}  // namespace

FeatureGrid::FeatureGrid(const std::vector<Place>& places) {
    std::vector<std::uint16_t> order;
    for (std::size_t i = 0; i < std::min<std::size_t>(places.size(), kMaxPlaces); ++i)
        if (places[i].kind == Place::Kind::Feature && places[i].diameterKm > 0) order.push_back(std::uint16_t(i));
    // Smallest first; of equal diameters the smaller box, then the gazetteer's order.
    const auto area = [](const GeoBox& b) { return (b.north - b.south) * (b.east - b.west); };
    std::stable_sort(order.begin(), order.end(), [&](std::uint16_t a, std::uint16_t b) {
        return std::tuple(places[a].diameterKm, area(places[a].extent)) <
               std::tuple(places[b].diameterKm, area(places[b].extent));
    });

    cellStart_.assign(kRows * kColumns + 1, 0);
    for (const std::uint16_t i : order) forEachCell(places[i].extent, [&](int cell) { ++cellStart_[cell + 1]; });
    std::partial_sum(cellStart_.begin(), cellStart_.end(), cellStart_.begin());
    entries_.resize(cellStart_.back());
    std::vector<std::uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
    for (const std::uint16_t i : order) forEachCell(places[i].extent, [&](int cell) { entries_[next[cell]++] = i; });
}

int FeatureGrid::at(const std::vector<Place>& places, double latitude, double longitude) const {
    if (!(latitude >= -90.0 && latitude <= 90.0) || !std::isfinite(longitude)) return -1;
    const int cell = rowOf(latitude) * kColumns + columnOf(longitude);
    for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k)
        if (places[entries_[k]].extent.contains(latitude, longitude)) return entries_[k];
    return -1;
}

}  // namespace rubicel
