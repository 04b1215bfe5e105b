// SPDX-License-Identifier: MIT
// furniture_painter.h: a furniture layout made ready once to be painted with QPainter over any part of the map.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QPolygonF>
#include <QRectF>

#include <cstdint>
#include <optional>
#include <unordered_map>

#include <vector>

#include "furniture/furniture_layout.h"

class QPainter;
class QRect;

namespace rubicel {

class LabelFont;

// Paints a layout as the Cairo module paints its drawing (furniture_drawing.h)
// into the files: the same items in the same order, styles and glyphs, each
// glyph at the whole pixel Cairo shows it at. The labels are drawn once here,
// each into a small image of its halo and letters. Anti-aliased lines cost
// too much to draw at every paint (a polar map's circles take over 10 ms a
// window), so the furniture is drawn into transparent tiles of the picture
// the first time each is shown, and a paint copies the tiles it covers; the
// tiles shown last are kept, up to kKeptTiles.
class FurniturePainter {
public:
    // The glyphs come from font's file through QRawFont, unhinted.
    FurniturePainter(const FurnitureLayout& layout, const LabelFont& font);

    // Paints over area of the picture, painter's coordinates its pixels.
    void paint(QPainter& painter, const QRect& area);
    // Draws every item that crosses area, anti-aliased, with no tile.
    void paintItems(QPainter& painter, const QRect& area) const;

    static constexpr int kTileSide = 256;
    static constexpr std::size_t kKeptTiles = 160;  // 40 MiB
    // The label images' pixels, a measure of the memory the labels take.
    qsizetype labelPixels() const;

private:
    // A grid line, or a circle as a closed polyline of short chords; a paint
    // strokes only the runs of its segments that cross the area.
    struct GridPath {
        QPolygonF points;
        QRectF bounds;  // grown by the edge's half width
    };
    struct Label {
        QImage image;  // premultiplied, transparent round the halo
        QPoint at;     // the image's top-left pixel
    };

    std::vector<GridPath> grid_;  // the lines, then the circles
    std::optional<PictureBox> bar_;
    std::vector<LandingMarker> markers_;
    std::vector<Label> labels_;

    struct Tile {
        QImage image;  // null where nothing crosses the tile
        std::uint64_t used = 0;
    };
    const Tile& tile(int column, int row);
    std::unordered_map<std::uint64_t, Tile> tiles_;  // by row << 32 | column
    std::uint64_t paints_ = 0;
};

}  // namespace rubicel
