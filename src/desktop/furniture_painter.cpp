// SPDX-License-Identifier: MIT
// furniture_painter.cpp: a furniture layout made ready once to be painted with QPainter over any part of the map.
#include "desktop/furniture_painter.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <utility>

#include "furniture/furniture_style.h"
#include "furniture/label_font.h"

namespace rubicel {
namespace {

QColor colourOf(const FurnitureColour& c) {
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue), float(c.alpha));
}

// Cairo shows a glyph at the whole pixel nearest its place.
int wholePixel(double at) { return int(std::floor(at + 0.5)); }

QPainterPath strokeOf(const QPainterPath& path, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::FlatCap);
    return stroker.createStroke(path);
}

// A glyph's halo: the coverage of its letter and of the band round its
// outline, its first pixel at left, top from the pen's whole-pixel place.
// Stroking is the slow part of a label, so each glyph is stroked once, as
// the Cairo module does.
struct GlyphHalo {
    QImage coverage;  // Alpha8
    int left = 0;
    int top = 0;
};

class HaloCache {
public:
    explicit HaloCache(const std::array<QRawFont, 3>& faces) : faces_(faces) {}

    const GlyphHalo& halo(TextSize size, std::uint32_t glyph) {
        std::unique_ptr<GlyphHalo>& made = halos_[{size, glyph}];
        if (!made) made = std::make_unique<GlyphHalo>(stroke(faces_[std::size_t(size)], glyph));
        return *made;
    }

private:
    static GlyphHalo stroke(const QRawFont& face, std::uint32_t glyph) {
        QPainterPath letter = face.pathForGlyph(glyph);
        QPainterPath halo = strokeOf(letter, kHaloWidth);
        halo.addPath(letter);
        halo.setFillRule(Qt::WindingFill);
        const QRect extent = halo.boundingRect().toAlignedRect();
        GlyphHalo h{QImage(), extent.left(), extent.top()};
        if (extent.isEmpty()) return h;
        h.coverage = QImage(extent.size(), QImage::Format_Alpha8);
        h.coverage.fill(0);
        QPainter painter(&h.coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-extent.topLeft());
        painter.fillPath(halo, Qt::black);
        return h;
    }

    const std::array<QRawFont, 3>& faces_;
    std::map<std::pair<TextSize, std::uint32_t>, std::unique_ptr<GlyphHalo>> halos_;
};

// A label drawn into an image of its own: the halos of its glyphs added up
// into one coverage (so the colour is laid on once where they overlap) and
// painted in the halo's colour, then the letters over them.
struct LabelImage {
    QImage image;
    QPoint at;
};

LabelImage drawLabel(const FurnitureLabel& label, const LabelFont& font, const QRawFont& face, HaloCache& halos) {
    const std::vector<PlacedGlyph> run = font.glyphRun(label.text, label.size);
    QList<quint32> indexes;
    QList<QPointF> pens;
    const int y = wholePixel(label.origin.y);
    for (const PlacedGlyph& g : run) {
        indexes.append(g.index);
        pens.append(QPointF(wholePixel(label.origin.x + g.x), y));
    }
    // The extent: the glyphs' halos, or without a halo the text's line.
    QRect extent;
    for (qsizetype k = 0; k < indexes.size(); ++k) {
        const GlyphHalo& h = halos.halo(label.size, indexes[k]);
        if (!h.coverage.isNull())
            extent |= QRect(int(pens[k].x()) + h.left, y + h.top, h.coverage.width(), h.coverage.height());
    }
    if (extent.isEmpty()) return {};
    LabelImage drawn{QImage(extent.size(), QImage::Format_ARGB32_Premultiplied), extent.topLeft()};
    drawn.image.fill(Qt::transparent);
    if (label.halo) {
        std::vector<std::uint8_t> coverage(std::size_t(extent.width()) * std::size_t(extent.height()), 0);
        for (qsizetype k = 0; k < indexes.size(); ++k) {
            const GlyphHalo& h = halos.halo(label.size, indexes[k]);
            if (h.coverage.isNull()) continue;
            const int x0 = int(pens[k].x()) + h.left - extent.left(), y0 = y + h.top - extent.top();
            for (int r = 0; r < h.coverage.height(); ++r) {
                const uchar* from = h.coverage.constScanLine(r);
                std::uint8_t* to = coverage.data() + std::size_t(y0 + r) * std::size_t(extent.width()) + x0;
                for (int c = 0; c < h.coverage.width(); ++c) to[c] = std::uint8_t(std::min(255, to[c] + from[c]));
            }
        }
        const QColor colour = colourOf(kHaloColour);
        const double alpha = colour.alphaF();
        for (int r = 0; r < extent.height(); ++r) {
            auto* row = reinterpret_cast<QRgb*>(drawn.image.scanLine(r));
            const std::uint8_t* from = coverage.data() + std::size_t(r) * std::size_t(extent.width());
            for (int c = 0; c < extent.width(); ++c) {
                const double a = alpha * from[c] / 255.0;
                row[c] = qRgba(int(std::lround(colour.red() * a)), int(std::lround(colour.green() * a)),
                               int(std::lround(colour.blue() * a)), int(std::lround(255 * a)));
            }
        }
    }
    QGlyphRun letters;
    letters.setRawFont(face);
    letters.setGlyphIndexes(indexes);
    for (QPointF& pen : pens) pen -= QPointF(extent.topLeft());
    letters.setPositions(pens);
    QPainter painter(&drawn.image);
    painter.setPen(colourOf(kTextColour));
    painter.drawGlyphRun(QPointF(0, 0), letters);
    return drawn;
}

}  // namespace

FurniturePainter::FurniturePainter(const FurnitureLayout& layout, const LabelFont& font) {
    const double reach = kGridEdgeWidth / 2 + 1;
    const auto add = [this, reach](QPolygonF points) {
        const QRectF bounds = points.boundingRect().adjusted(-reach, -reach, reach, reach);
        grid_.push_back({std::move(points), bounds});
    };
    for (const GridLine& line : layout.lines) {
        QPolygonF points;
        for (const PicturePoint& p : line.points) points.append(QPointF(p.x, p.y));
        add(std::move(points));
    }
    // A chord of kChord pixels strays from its arc by kChord^2 / 8r: under a
    // hundredth of a pixel for a circle of 50 pixels or more.
    constexpr double kChord = 2.0;
    for (const GridCircle& c : layout.circles) {
        const int n = std::max(16, int(std::ceil(2 * std::numbers::pi * c.radius / kChord)));
        QPolygonF points;
        points.reserve(n + 1);
        for (int k = 0; k <= n; ++k) {
            const double angle = 2 * std::numbers::pi * k / n;
            points.append(QPointF(c.centre.x + c.radius * std::cos(angle), c.centre.y + c.radius * std::sin(angle)));
        }
        add(std::move(points));
    }
    if (layout.scaleBar) bar_ = layout.scaleBar->bar;
    markers_ = layout.markers;

    // The same file as the files' glyphs, at the three ems, unhinted.
    std::array<QRawFont, 3> faces;
    const QString file = QString::fromStdString(font.file());
    for (std::size_t k = 0; k < faces.size(); ++k) faces[k] = QRawFont(file, kTextPixels[k], QFont::PreferNoHinting);
    HaloCache halos(faces);
    for (const FurnitureLabel& label : layout.labels) {
        const QRawFont& face = faces[std::size_t(label.size)];
        if (!face.isValid()) continue;
        LabelImage drawn = drawLabel(label, font, face, halos);
        if (!drawn.image.isNull()) labels_.push_back({std::move(drawn.image), drawn.at});
    }
}

qsizetype FurniturePainter::labelPixels() const {
    qsizetype pixels = 0;
    for (const Label& label : labels_) pixels += qsizetype(label.image.width()) * label.image.height();
    return pixels;
}

void FurniturePainter::paint(QPainter& painter, const QRect& area) {
    if (area.isEmpty()) return;
    ++paints_;
    for (int row = std::max(0, area.top()) / kTileSide; row <= area.bottom() / kTileSide; ++row)
        for (int column = std::max(0, area.left()) / kTileSide; column <= area.right() / kTileSide; ++column) {
            const Tile& t = tile(column, row);
            if (t.image.isNull()) continue;
            const QRect place(column * kTileSide, row * kTileSide, kTileSide, kTileSide);
            const QRect part = place & area;
            painter.drawImage(part.topLeft(), t.image, part.translated(-place.topLeft()));
        }
    // The tiles not shown longest go first.
    while (tiles_.size() > kKeptTiles) {
        auto oldest = tiles_.begin();
        for (auto t = tiles_.begin(); t != tiles_.end(); ++t)
            if (t->second.used < oldest->second.used) oldest = t;
        if (oldest->second.used == paints_) break;
        tiles_.erase(oldest);
    }
}

const FurniturePainter::Tile& FurniturePainter::tile(int column, int row) {
    Tile& t = tiles_[std::uint64_t(row) << 32 | std::uint32_t(column)];
    if (t.used == 0) {
        const QRect place(column * kTileSide, row * kTileSide, kTileSide, kTileSide);
        t.image = QImage(place.size(), QImage::Format_ARGB32_Premultiplied);
        t.image.fill(Qt::transparent);
        QPainter painter(&t.image);
        painter.translate(-place.topLeft());
        paintItems(painter, place);
        painter.end();
        // A tile nothing crosses keeps no memory.
        bool blank = true;
        for (int y = 0; y < t.image.height() && blank; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(t.image.constScanLine(y));
            blank = std::all_of(line, line + t.image.width(), [](QRgb p) { return p == 0; });
        }
        if (blank) t.image = QImage();
    }
    t.used = paints_;
    return t;
}

void FurniturePainter::paintItems(QPainter& painter, const QRect& area) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shown(area);
    // The runs of grid segments that cross the area, grown by the edge's reach.
    const double reach = kGridEdgeWidth / 2 + 1;
    const QRectF near = shown.adjusted(-reach, -reach, reach, reach);
    struct Run {
        const QPointF* first;
        int count;
    };
    std::vector<Run> runs;
    for (const GridPath& path : grid_) {
        if (!path.bounds.intersects(near)) continue;
        const QPolygonF& pts = path.points;
        int start = -1;
        for (int k = 0; k + 1 < pts.size(); ++k) {
            const QPointF a = pts[k], b = pts[k + 1];
            const bool crosses = std::max(a.x(), b.x()) >= near.left() && std::min(a.x(), b.x()) <= near.right() &&
                                 std::max(a.y(), b.y()) >= near.top() && std::min(a.y(), b.y()) <= near.bottom();
            if (crosses && start < 0) start = k;
            if (!crosses && start >= 0) {
                runs.push_back({pts.data() + start, k - start + 1});
                start = -1;
            }
        }
        if (start >= 0) runs.push_back({pts.data() + start, int(pts.size()) - start});
    }
    // The dark edges of every line and circle, then the light lines over them.
    painter.setBrush(Qt::NoBrush);
    for (const auto& [colour, width] : {std::pair{kGridEdgeColour, kGridEdgeWidth}, {kGridLineColour, kGridLineWidth}}) {
        painter.setPen(QPen(colourOf(colour), width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        for (const Run& run : runs) painter.drawPolyline(run.first, run.count);
    }
    // Edges and rings are stroked half their width inside the shape's border, as in the files.
    if (bar_) {
        const QRectF bar(bar_->left, bar_->top, bar_->width, bar_->height);
        if (bar.intersects(shown)) {
            painter.fillRect(bar, colourOf(kScaleBarFill));
            const double in = kScaleBarEdgeWidth / 2;
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(colourOf(kScaleBarEdge), kScaleBarEdgeWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
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
        painter.setPen(QPen(colourOf(kMarkerRingColour), kMarkerRingWidth));
        painter.drawEllipse(centre, ring, ring);
    }
    for (const Label& label : labels_)
        if (area.intersects(QRect(label.at, label.image.size()))) painter.drawImage(label.at, label.image);
    painter.restore();
}

}  // namespace rubicel
