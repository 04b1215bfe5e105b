// SPDX-License-Identifier: MIT
// drawn_map.cpp: which tile sample each pixel of the finished map picture shows, and where on Mars it lies.
#include "maps/drawn_map.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "maps/map_picture.h"
#include "maps/polar_grid.h"
#include "maps/render_support.h"
#include "maps/tile_file.h"

namespace rubicel {
namespace {

constexpr double kSamplesPerDegree = 64.0;

// West and north edges of tile index t, in degrees.
int tileWest(int t) { return t == 0 || t == 2 ? 0 : -180; }
int tileTop(int t) { return t >= 2 ? 90 : 0; }

}  // namespace

DrawnMap drawnAreaMap(const std::array<int, 4>& tiles, int R0, int C0, int C1, int step, int rows) {
    DrawnMap map;
    map.valid = step >= 1;
    map.step = std::max(step, 1);
    map.rows = rows;
    map.firstRecord = R0 + 1;
    map.firstColumn = C0;
    const bool twoTiles = C1 > kLastColumn;
    map.westPixels = runLength(C0, std::min(kLastColumn, C1), map.step);
    map.eastPixels = twoTiles ? runLength(0, C1 - kLastColumn, map.step) : 0;
    const bool below = tiles[2] >= 0;
    map.tiles = {tiles[0], twoTiles ? tiles[1] : -1, below ? tiles[2] : -1, below && twoTiles ? tiles[3] : -1};
    // The row after the last record of a northern tile restarts at record 1 of
    // the tile below, whatever the step left over.
    if (below) map.switchRow = map.firstRecord > kTileRows ? 1 : (kTileRows - map.firstRecord) / map.step + 1;
    return map;
}

DrawnMap drawnTileMap(int tile, int step, int rows) {
    DrawnMap map;
    map.valid = step >= 1 && tile >= 0 && tile < 4;
    map.step = std::max(step, 1);
    map.rows = rows;
    map.westPixels = runLength(0, kLastColumn, map.step);
    map.tiles[0] = tile;
    return map;
}

DrawnMap drawnPolarMap(int pole, int limit, int step, int half, int rows) {
    DrawnMap map;
    map.valid = step >= 1 && half > 0;
    map.step = std::max(step, 1);
    map.rows = rows;
    map.pole = pole < 0 ? -1 : 1;
    map.limit = limit;
    map.half = half;
    map.westPixels = 2 * half;
    map.tiles = {polarEastTile(map.pole), polarWestTile(map.pole), -1, -1};
    return map;
}

void keepDrawnMap(MapPicture& picture, DrawnMap map, int revision) {
    if (picture.revision != revision) return;
    const DrawnMap& before = picture.shows;
    // Sizing the picture for this drawing was the only change since the earlier map.
    const bool sameSamples = before.valid && before.revision == revision - 1 && before.step == map.step &&
                             before.firstRecord == map.firstRecord && before.firstColumn == map.firstColumn &&
                             before.westPixels == map.westPixels && before.eastPixels == map.eastPixels &&
                             before.switchRow == map.switchRow && before.tiles == map.tiles &&
                             before.files == map.files && before.pole == map.pole &&
                             before.limit == map.limit && before.half == map.half;
    if (sameSamples) map.rows = std::max(map.rows, before.rows);
    map.revision = revision;
    picture.shows = std::move(map);
}

PixelSample sampleOf(int tile, int record, int column) {
    PixelSample s;
    s.tile = tile;
    s.record = record;
    s.column = column;
    s.latitude = tileTop(tile) - (record - 0.5) / kSamplesPerDegree;
    s.longitude = tileWest(tile) + (column + 0.5) / kSamplesPerDegree;
    return s;
}

PixelExtent drawnExtent(const MapPicture& picture) {
    const DrawnMap& map = picture.shows;
    if (!map.valid || map.revision != picture.revision) return {};
    const int width = std::min(picture.image.width(), map.westPixels + map.eastPixels);
    const int height = std::min(picture.image.height(), map.rows);
    if (width <= 0 || height <= 0) return {};
    return {width, height};
}

std::optional<PixelSample> pixelSample(const MapPicture& picture, int x, int y) {
    const DrawnMap& map = picture.shows;
    if (!map.valid || map.revision != picture.revision) return std::nullopt;
    if (x >= picture.image.width() || y >= picture.image.height()) return std::nullopt;
    return drawnSample(map, x, y);
}

std::optional<PixelSample> drawnSample(const DrawnMap& map, int x, int y) {
    if (x < 0 || y < 0 || y >= map.rows) return std::nullopt;
    if (map.pole != 0) {
        if (x >= 2 * map.half) return std::nullopt;
        PolarGrid grid = polarGrid(map.pole, map.limit, map.step);
        grid.n = map.half;
        const PolarPoint point = polarPoint(grid, x, y);
        if (!point.shown) return std::nullopt;
        const bool west = point.column >= kTileColumns;
        PixelSample s = sampleOf(map.tiles[west ? 1 : 0], point.record, point.column - (west ? kTileColumns : 0));
        if (west) s.longitude += 360.0;  // east longitudes 0 to 360 all round the pole
        return s;
    }
    const bool below = y >= map.switchRow;
    const bool east = x >= map.westPixels;
    if (east && x - map.westPixels >= map.eastPixels) return std::nullopt;
    const int tile = map.tiles[std::size_t((below ? 2 : 0) + (east ? 1 : 0))];
    if (tile < 0) return std::nullopt;
    const int record = below ? 1 + (y - map.switchRow) * map.step : map.firstRecord + y * map.step;
    const int column = east ? (x - map.westPixels) * map.step : map.firstColumn + x * map.step;
    PixelSample s = sampleOf(tile, record, column);
    // A row that runs on from an eastern tile into a western one crosses 180°.
    if (east && tileWest(tile) < tileWest(map.tiles[below ? 2 : 0])) s.longitude += 360.0;
    return s;
}

std::optional<PlaceOnPicture> placeOnPicture(const MapPicture& picture, double latitude, double longitude) {
    const PixelExtent extent = drawnExtent(picture);
    if (extent.width == 0) return std::nullopt;
    const DrawnMap& map = picture.shows;
    PlaceOnPicture at;
    at.longitude = longitude;
    if (map.pole != 0) {
        if (latitude * map.pole < map.limit) return std::nullopt;
        PolarGrid grid = polarGrid(map.pole, map.limit, map.step);
        grid.n = map.half;
        const PolarPicturePoint polar = polarPicturePoint(grid, latitude, longitude);
        at.x = polar.x;
        at.y = polar.y;
    } else {
        // The first tile's columns and records, sample centres at whole numbers.
        const int first = map.tiles[0];
        const double west = tileWest(first) + map.firstColumn / kSamplesPerDegree;
        double east = longitude;
        while (east < west) east += 360.0;
        while (east >= west + 360.0) east -= 360.0;
        at.longitude = east;
        const double column = (east - tileWest(first)) * kSamplesPerDegree - 0.5;
        if (column <= kLastColumn + 0.5 || map.eastPixels == 0)
            at.x = (column - map.firstColumn) / map.step + 0.5;
        else  // the east neighbour, from its column 0
            at.x = map.westPixels + (column - kTileColumns) / map.step + 0.5;
        const bool below = map.tiles[2] >= 0 && latitude < 0.0;
        if (!below) {
            const double record = (tileTop(first) - latitude) * kSamplesPerDegree + 0.5;
            at.y = (record - map.firstRecord) / map.step + 0.5;
        } else {  // the tile below, from its record 1
            const double record = -latitude * kSamplesPerDegree + 0.5;
            at.y = map.switchRow + (record - 1.0) / map.step + 0.5;
        }
    }
    // A pixel of an area map stands for the block of samples from the one it
    // shows on, so the last pixel's block reaches half a pixel past the picture.
    const double block = map.pole != 0 ? 0.0 : 0.5;
    if (!(at.x >= 0.0 && at.x <= extent.width + block && at.y >= 0.0 && at.y <= extent.height + block))
        return std::nullopt;
    return at;
}

}  // namespace rubicel
