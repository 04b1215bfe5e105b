// SPDX-License-Identifier: MIT
// furniture_painter.h: a furniture layout made ready once to be painted with QPainter over any part of the map.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPolygonF>
#include <QRectF>

#include <optional>

#include <vector>

#include "furniture/furniture_layout.h"

class QPainter;
class QRect;

namespace rubicel {

class LabelFont;

// Paints a layout as the Cairo module paints its drawing (furniture_drawing.h)
// into the files: the same items in the same order, styles and glyphs, each
// glyph at the whole pixel Cairo shows it at. The labels, the costly part,
// are drawn once here, each into a small image of its halo and letters; a
// paint then draws the lines, circles, bar and markers that cross the part
// asked for and copies the labels' images that do.
class FurniturePainter {
public:
    // The glyphs come from font's file through QRawFont, unhinted.
    FurniturePainter(const FurnitureLayout& layout, const LabelFont& font);

    // Paints over area of the picture, painter's coordinates its pixels.
    void paint(QPainter& painter, const QRect& area) const;
    // The label images' pixels, a measure of the memory the labels take.
    qsizetype labelPixels() const;

private:
    struct Line {
        QPolygonF points;
        QRectF bounds;  // grown by the edge's half width
    };
    struct Circle {
        QPointF centre;
        double radius = 0;
    };
    struct Label {
        QImage image;  // premultiplied, transparent round the halo
        QPoint at;     // the image's top-left pixel
    };

    std::vector<Line> lines_;
    std::vector<Circle> circles_;
    std::optional<PictureBox> bar_;
    std::vector<LandingMarker> markers_;
    std::vector<Label> labels_;
};

}  // namespace rubicel
