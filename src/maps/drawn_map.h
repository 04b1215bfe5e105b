// SPDX-License-Identifier: MIT
// drawn_map.h: which tile sample each pixel of the finished map picture shows, and where on Mars it lies.
#pragma once

#include <array>
#include <climits>
#include <optional>
#include <string>

namespace rubicel {

struct MapPicture;

// What a renderer leaves behind when its drawing has ended (completed or
// stopped) into the picture it sized: enough to say, for any pixel, which
// sample of which tile it was coloured from. Both renderers fill it the same
// way; a whole-tile map is an area map of one tile from record 1 and column 0.
struct DrawnMap {
    bool valid = false;
    int revision = -1;    // MapPicture::revision of the picture the map was drawn into
    int step = 1;         // resolution: samples and records per pixel
    int rows = 0;         // map rows drawn; a stopped drawing draws fewer
    int firstRecord = 1;  // record of map row 0
    int firstColumn = 0;  // column of pixel 0 in the first tile of a row
    int westPixels = 0;   // pixels of a row taken from its first tile
    int eastPixels = 0;   // then from the east neighbour, from its column 0
    int switchRow = INT_MAX;  // first map row read from the tiles below, from record 1
    // Tile indexes: [0] the north-west corner's tile, [1] east of it, [2] below
    // it, [3] east of that; -1 where the map reads none.
    std::array<int, 4> tiles{-1, -1, -1, -1};
    // Path of the file the map read for each tile index.
    std::array<std::string, 4> files;
    // A polar map: the pole (1 north, -1 south; 0 for the maps above), its
    // limit latitude and half its side in pixels. step is its step; tiles[0]
    // and tiles[1] its tiles of east longitudes 0 to 180 and 180 to 360.
    int pole = 0;
    int limit = 0;
    int half = 0;
};

// An area map as the area renderer draws it: tiles A, B, C, D (C and D -1 for a
// southern A), row position R0 and columns C0 and C1 of the box in A, the step,
// and the rows it drew.
DrawnMap drawnAreaMap(const std::array<int, 4>& tiles, int R0, int C0, int C1, int step, int rows);
// A whole-tile map of tile index tile.
DrawnMap drawnTileMap(int tile, int step, int rows);
// A polar map of pole (1 north, -1 south) to latitude limit at step, 2 * half
// pixels square, of which rows were drawn.
DrawnMap drawnPolarMap(int pole, int limit, int step, int half, int rows);

// Records map, drawn into the picture's revision revision, as what the picture
// shows; nothing when a handler emptied, resized or replaced the picture during
// the drawing. The rows a stopped redraw did not reach still show the earlier
// map when the same map was there just before, and count as drawn.
void keepDrawnMap(MapPicture& picture, DrawnMap map, int revision);

// One sample of the elevation data.
struct PixelSample {
    int tile = 0;    // tile index: 0 south-east, 1 south-west, 2 north-east, 3 north-west
    int record = 1;  // tile row, from 1 at the tile's north edge
    int column = 0;  // 0 at the tile's west edge
    // The sample's centre in the data set's grid of 64 samples per degree,
    // degrees north and east. The longitude grows from left to right across the
    // map: the east part of a map drawn across 180° gives 180 to 360.
    double latitude = 0;
    double longitude = 0;
};

// The sample that tile column and record give, with its place.
PixelSample sampleOf(int tile, int record, int column);

// The sample pixel (x, y) of the picture shows, exactly as the renderer took it:
// the one-column jump where a row runs on into the east neighbour (whose columns
// start again at 0), the restart at record 1 below the equator. Nothing while a
// drawing is running, after the picture was emptied, resized or replaced (the
// annotated map), outside the picture, or on a pixel no sample reached. On a
// polar map, the sample holding the point at the pixel's centre, as the polar
// renderer took it; nothing beyond the limit circle.
std::optional<PixelSample> pixelSample(const MapPicture& picture, int x, int y);

// The same for a map known to be what a picture shows, apart from any picture:
// the sample of pixel (x, y) of map, nothing on a row it did not draw or where
// no sample reached.
std::optional<PixelSample> drawnSample(const DrawnMap& map, int x, int y);

// Where a point of the planet lies on the finished map, in picture pixels:
// (x + 0.5, y + 0.5), the centre of pixel (x, y), stands for the centre of the
// sample the pixel shows, and the places between follow the samples evenly
// (on a polar map the projection itself). longitude is the one the map
// counts, from its west edge on, whatever multiple of 360 was given (the
// pole's angle on a polar map). Nothing where the map does not show the point:
// beyond the pixels drawn, beyond a polar map's limit circle, or while
// pixelSample gives nothing.
struct PlaceOnPicture {
    double x = 0;
    double y = 0;
    double longitude = 0;
};
std::optional<PlaceOnPicture> placeOnPicture(const MapPicture& picture, double latitude, double longitude);

// The pixels that show samples: every pixel (x, y) with x < width and y < height
// has one. 0 by 0 when pixelSample gives nothing anywhere.
struct PixelExtent {
    int width = 0;
    int height = 0;
};
PixelExtent drawnExtent(const MapPicture& picture);

}  // namespace rubicel
