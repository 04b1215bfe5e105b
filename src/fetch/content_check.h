// SPDX-License-Identifier: MIT
// content_check.h: a tile's heights against the 4 pixels-per-degree grid of the same laser shots.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fetch/tile_products.h"
#include "tile_builder.h"

namespace rubicel::fetch {

// The samples of a tile averaged over each 4 pixels-per-degree cell (16 by 16
// samples), compared with the grid's cell. Real 64 pixels-per-degree data keep
// more relief inside a cell than the grid's one value (crater rims, scarps,
// volcano flanks), so single cells may differ by hundreds of metres; the
// verdict rests on medians over many cells.
struct ContentStats {
    double median = 0;          // metres, over all cells
    double shareNear = 0;       // of cells within kNearMetres
    double worstRowMedian = 0;  // metres, the highest median of one row of cells (720 cells)
    double fit = 0;             // the lowest median with the tile moved one cell any way, over `median`

    // How far the worst measure lies from its threshold: 1 on the limit, 0.5
    // half way there, 2 twice as far beyond it.
    double severity() const;
    bool passes() const { return severity() <= 1; }
    std::string text() const;  // "median 2 m, 99.8% within 250 m, worst row 11 m, fit 9.7"
};

// Thresholds. Both products are made from the same shots, so a real tile's cell
// means sit within metres of the grid over smooth ground, which is most of the
// planet; only steep cells (a few percent) differ by more. The faults to catch
// differ by far more: bytes swapped or garbage give kilometres everywhere, the
// wrong quadrant kilometres almost everywhere, zeros where the heights end
// (a truncated file padded out) hundreds of metres to kilometres over whole
// rows, and a tile moved by a cell or more fits the grid better moved back.
// The demo tiles, smooth between grid points, sit 5 to 17 m from the grid by
// the median (their cell means carry the curvature of the interpolation) and
// fit 2.7 to 3.6 times better than moved by a cell; real tiles are expected to
// do at least as well, being averages of the same shots rather than curves
// through the grid's values. The fit asks least of all: over the smooth
// northern plains a cell differs from its neighbour by only 15 m or so by the
// median, so a real tile need only fit best where it is, by a tenth.
inline constexpr double kMaxMedianMetres = 60;
inline constexpr double kNearMetres = 250;
inline constexpr double kMinShareNear = 0.90;
inline constexpr double kMaxRowMedianMetres = 250;
inline constexpr double kMinFit = 1.1;

class ContentCheck {
public:
    ContentCheck(const mktiles::Grid& grid, const TileProduct& tile);

    // Adds tile row `row` (0-based, northernmost first) as stored, big-endian.
    void addRecord(int row, std::span<const unsigned char> record);

    ContentStats result() const;

private:
    // Median of |cell mean - grid| with the tile moved by rows and columns of cells.
    double medianAt(int rowOffset, int columnOffset) const;

    const mktiles::Grid& grid_;
    int firstGridRow_, firstGridColumn_;
    std::vector<std::int64_t> sums_;  // one per cell of the tile, 360 by 720
};

}  // namespace rubicel::fetch
