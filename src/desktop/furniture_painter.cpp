// SPDX-License-Identifier: MIT
// furniture_painter.cpp: a furniture layout made ready once to be painted with QPainter over any part of the map.
#include "desktop/furniture_painter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <cmath>

#include "furniture/furniture_style.h"
#include "furniture/label_font.h"

namespace rubicel {
namespace {

QColor colourOf(const FurnitureColour& c) {
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue), float(c.alpha));
}

// Cairo shows a glyph at the whole pixel nearest its place.
int wholePixel(double at) { return int(std::floor(at + 0.5)); }

// The letters of label as outlines, each glyph where Cairo shows it.
QPainterPath lettersOf(const FurnitureLabel& label, const LabelFont& font, const QRawFont& face) {
    QPainterPath letters;
    letters.setFillRule(Qt::WindingFill);
    const int y = wholePixel(label.origin.y);
    for (const PlacedGlyph& g : font.glyphRun(label.text, label.size)) {
        QPainterPath glyph = face.pathForGlyph(g.index);
        glyph.translate(wholePixel(label.origin.x + g.x), y);
        letters.addPath(glyph);
    }
    return letters;
}

QPen pen(const FurnitureColour& colour, double width) {
    return QPen(colourOf(colour), width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
}

// The distance from centre to the corner of area farthest from it.
double farthestCorner(const QRectF& area, QPointF centre) {
    const double dx = std::max(std::abs(area.left() - centre.x()), std::abs(area.right() - centre.x()));
    const double dy = std::max(std::abs(area.top() - centre.y()), std::abs(area.bottom() - centre.y()));
    return std::hypot(dx, dy);
}

}  // namespace

FurniturePainter::FurniturePainter(const FurnitureLayout& layout, const LabelFont& font) {
    const double reach = kGridEdgeWidth / 2 + 1;
    for (const GridLine& line : layout.lines) {
        Line l;
        for (const PicturePoint& p : line.points) l.points.append(QPointF(p.x, p.y));
        l.bounds = l.points.boundingRect().adjusted(-reach, -reach, reach, reach);
        lines_.push_back(std::move(l));
    }
    for (const GridCircle& c : layout.circles) circles_.push_back({QPointF(c.centre.x, c.centre.y), c.radius});
    if (layout.scaleBar) bar_ = layout.scaleBar->bar;
    markers_ = layout.markers;

    // The same file as the files' glyphs, at the three ems, unhinted.
    std::array<QRawFont, 3> faces;
    const QString file = QString::fromStdString(font.file());
    for (std::size_t k = 0; k < faces.size(); ++k)
        faces[k] = QRawFont(file, kTextPixels[k], QFont::PreferNoHinting);
    QPainterPathStroker stroker;
    stroker.setWidth(kHaloWidth);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::FlatCap);
    for (const FurnitureLabel& label : layout.labels) {
        const QRawFont& face = faces[std::size_t(label.size)];
        if (!face.isValid()) continue;
        const QPainterPath letters = lettersOf(label, font, face);
        // The halo is the letters and the band round them filled at once, so
        // its colour is laid on once where the glyphs' halos overlap.
        QPainterPath halo = stroker.createStroke(letters);
        halo.addPath(letters);
        halo.setFillRule(Qt::WindingFill);
        const QRect extent = (label.halo ? halo : letters).boundingRect().toAlignedRect();
        if (extent.isEmpty()) continue;
        Label drawn{QImage(extent.size(), QImage::Format_ARGB32_Premultiplied), extent.topLeft()};
        drawn.image.fill(Qt::transparent);
        QPainter painter(&drawn.image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-extent.topLeft());
        if (label.halo) painter.fillPath(halo, colourOf(kHaloColour));
        painter.fillPath(letters, colourOf(kTextColour));
        painter.end();
        labels_.push_back(std::move(drawn));
    }
}

qsizetype FurniturePainter::labelPixels() const {
    qsizetype pixels = 0;
    for (const Label& label : labels_) pixels += qsizetype(label.image.width()) * label.image.height();
    return pixels;
}

void FurniturePainter::paint(QPainter& painter, const QRect& area) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const QRectF shown(area);
    // The dark edges of every line and circle, then the light lines over them.
    for (const auto& [colour, width] : {std::pair{kGridEdgeColour, kGridEdgeWidth}, {kGridLineColour, kGridLineWidth}}) {
        painter.setPen(pen(colour, width));
        for (const Line& line : lines_)
            if (line.bounds.intersects(shown)) painter.drawPolyline(line.points);
        for (const Circle& c : circles_) {
            const double r = c.radius + kGridEdgeWidth;
            const QRectF bounds(c.centre.x() - r, c.centre.y() - r, 2 * r, 2 * r);
            // A circle that misses the area, or holds it wholly inside, does not cross it.
            if (!bounds.intersects(shown) || farthestCorner(shown, c.centre) < c.radius - kGridEdgeWidth) continue;
            painter.drawEllipse(c.centre, c.radius, c.radius);
        }
    }
    // Edges and rings are stroked half their width inside the shape's border, as in the files.
    if (bar_) {
        const QRectF bar(bar_->left, bar_->top, bar_->width, bar_->height);
        if (bar.intersects(shown)) {
            painter.fillRect(bar, colourOf(kScaleBarFill));
            const double in = kScaleBarEdgeWidth / 2;
            painter.setPen(pen(kScaleBarEdge, kScaleBarEdgeWidth));
            painter.drawRect(bar.adjusted(in, in, -in, -in));
        }
    }
    for (const LandingMarker& m : markers_) {
        const QPointF centre(m.centre.x, m.centre.y);
        if (!QRectF(centre.x() - m.radius, centre.y() - m.radius, 2 * m.radius, 2 * m.radius).intersects(shown))
            continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(colourOf(kMarkerColour));
        painter.drawEllipse(centre, m.radius, m.radius);
        const double ring = m.radius - kMarkerRingWidth / 2;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(pen(kMarkerRingColour, kMarkerRingWidth));
        painter.drawEllipse(centre, ring, ring);
    }
    for (const Label& label : labels_)
        if (area.intersects(QRect(label.at, label.image.size()))) painter.drawImage(label.at, label.image);
    painter.restore();
}

}  // namespace rubicel
