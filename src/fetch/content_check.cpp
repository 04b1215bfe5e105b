// SPDX-License-Identifier: MIT
// content_check.cpp: a tile's heights against the 4 pixels-per-degree grid of the same laser shots.
#include "fetch/content_check.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

#include "common/stored_sample.h"
#include "maps/tile_file.h"

namespace rubicel::fetch {
namespace {

constexpr int kCellSamples = 16;  // 64 / 4 pixels per degree
constexpr int kCellRows = kTileRows / kCellSamples;
constexpr int kCellColumns = kTileColumns / kCellSamples;

double medianOf(std::vector<float>& values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

double ContentStats::severity() const {
    return std::max({median / kMaxMedianMetres, (1 - shareNear) / (1 - kMinShareNear),
                     worstRowMedian / kMaxRowMedianMetres, kMinFit / std::max(fit, 1e-9)});
}

std::string ContentStats::text() const {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "median %.0f m, %.1f%% within %.0f m, worst row %.0f m, fit %.1f", median,
                  100 * shareNear, kNearMetres, worstRowMedian, fit);
    return buffer;
}

ContentCheck::ContentCheck(const mktiles::Grid& grid, const TileProduct& tile)
    : grid_(grid),
      firstGridRow_(int((90 - tile.north) * grid.samplesPerDegree())),
      firstGridColumn_(int(tile.west * grid.samplesPerDegree())),
      sums_(std::size_t(kCellRows) * kCellColumns, 0) {
    assert(grid.rows * kCellSamples == 2 * kTileRows && grid.columns == 2 * kCellColumns);
}

void ContentCheck::addRecord(int row, std::span<const unsigned char> record) {
    assert(row >= 0 && row < kTileRows && record.size() == std::size_t(kRecordBytes));
    std::int64_t* sums = sums_.data() + std::size_t(row / kCellSamples) * kCellColumns;
    const unsigned char* p = record.data();
    for (int cell = 0; cell < kCellColumns; ++cell) {
        std::int32_t sum = 0;
        for (int k = 0; k < kCellSamples; ++k, p += 2) sum += storedElevation(p);
        sums[cell] += sum;
    }
}

double ContentCheck::medianAt(int rowOffset, int columnOffset) const {
    std::vector<float> differences;
    differences.reserve(sums_.size());
    for (int i = 0; i < kCellRows; ++i) {
        const int gridRow = firstGridRow_ + i + rowOffset;
        if (gridRow < 0 || gridRow >= grid_.rows) continue;  // beyond a pole
        for (int j = 0; j < kCellColumns; ++j) {
            const int gridColumn = (firstGridColumn_ + j + columnOffset + grid_.columns) % grid_.columns;
            const double mean = double(sums_[std::size_t(i) * kCellColumns + j]) / (kCellSamples * kCellSamples);
            differences.push_back(float(std::fabs(mean - grid_.at(gridRow, gridColumn))));
        }
    }
    return medianOf(differences);
}

ContentStats ContentCheck::result() const {
    ContentStats stats;
    std::vector<float> all, row;
    all.reserve(sums_.size());
    std::size_t near = 0;
    for (int i = 0; i < kCellRows; ++i) {
        row.clear();
        for (int j = 0; j < kCellColumns; ++j) {
            const double mean = double(sums_[std::size_t(i) * kCellColumns + j]) / (kCellSamples * kCellSamples);
            const float difference = float(std::fabs(mean - grid_.at(firstGridRow_ + i, firstGridColumn_ + j)));
            row.push_back(difference);
            all.push_back(difference);
            if (difference <= kNearMetres) ++near;
        }
        stats.worstRowMedian = std::max(stats.worstRowMedian, medianOf(row));
    }
    stats.median = medianOf(all);
    stats.shareNear = double(near) / double(all.size());
    double bestMoved = INFINITY;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc)
            if (dr != 0 || dc != 0) bestMoved = std::min(bestMoved, medianAt(dr, dc));
    // Below a metre the median is rounding, not fit.
    stats.fit = bestMoved / std::max(stats.median, 1.0);
    return stats;
}

}  // namespace rubicel::fetch
