// SPDX-License-Identifier: MIT
// tile_builder.h: builds 64 pixels-per-degree tiles from a coarse global grid by bilinear interpolation.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rubicel::mktiles {

// A global elevation grid in simple cylindrical layout: row 0 northernmost,
// column 0 starting at 0°E and running east to 360°E, cell (i, j) centred at
// latitude 90 - (i + ½)/ppd and longitude (j + ½)/ppd east. Heights are in
// host order.
struct Grid {
    int rows = 0;
    int columns = 0;  // twice rows: 360 degrees against 180
    std::vector<std::int16_t> heights;

    double samplesPerDegree() const { return columns / 360.0; }
    std::int16_t at(int row, int column) const { return heights[std::size_t(row) * columns + column]; }
};

// The 4 pixels-per-degree grid the demo tiles are built from.
inline constexpr int kGridRows = 720;
inline constexpr int kGridColumns = 1440;

// Reads a big-endian grid of rows x columns samples; the file must hold exactly
// that many. Returns a description of what is wrong otherwise.
[[nodiscard]] std::optional<std::string> loadGrid(const std::string& path, int rows, int columns, Grid& grid);

// One output tile: its file name and north-west corner (longitude east, may be
// negative).
struct TileSpec {
    const char* name;
    double top;
    double west;
};

// The four tiles in the order of their sorted names (tile index 0..3).
inline constexpr std::array<TileSpec, 4> kDemoTiles = {{
    {"megt00n000gb.img", 0.0, 0.0},
    {"megt00n180gb.img", 0.0, -180.0},
    {"megt90n000gb.img", 90.0, 0.0},
    {"megt90n180gb.img", 90.0, -180.0},
}};

inline constexpr int kOutputSamplesPerDegree = 64;

// Interpolates output rows of `count` samples spaced 1/samplesPerDegree degrees,
// sample c centred at longitude west + (c + ½)/samplesPerDegree. Longitude wraps
// around the planet; latitude clamps to the outermost grid rows at the poles.
// Values are rounded half to even. Grid rows interpolated along longitude are
// kept, so consecutive output rows between the same two grid rows cost one
// blend each.
class RowInterpolator {
public:
    RowInterpolator(const Grid& grid, double west, double samplesPerDegree, int count);

    // Fills out (count samples, host order) for the row centred at latitude.
    void row(double latitude, std::span<std::int16_t> out);

private:
    const std::vector<double>& alongRow(int gridRow, int slot);

    const Grid& grid_;
    std::vector<int> left_, right_;        // grid columns either side of each sample
    std::vector<double> rightWeight_;      // weight of the right column
    std::array<std::vector<double>, 2> cached_;
    std::array<int, 2> cachedRow_{-1, -1};
};

// Latitude of the centre of tile row r (0-based) for a tile whose north edge is top.
inline double rowLatitude(double top, int r) { return top - (r + 0.5) / kOutputSamplesPerDegree; }

// Called after each written row with the row count done so far and the total.
using Progress = std::function<void(int done, int total)>;

// Writes the full tile spec into folder (which ends without a separator or with
// one): 5760 rows of 11520 big-endian samples, under a temporary name that does
// not begin with the tile prefix, renamed to spec.name once complete. On
// failure nothing is left under either name.
[[nodiscard]] std::optional<std::string> writeTile(const Grid& grid, const TileSpec& spec, const std::string& folder,
                                                   const Progress& progress = {});

}  // namespace rubicel::mktiles
