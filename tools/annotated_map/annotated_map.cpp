// SPDX-License-Identifier: MIT
// annotated_map.cpp: the annotated map of Mars: MOLA heights in the program's colours, with feature names.
#include "annotated_map.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <vector>

#include "colour/colour_engine.h"
#include "common/raster.h"
#include "platform/headless/headless_platform.h"
#include "windows/feature_catalogue.h"
#include "windows/program.h"

namespace rubicel::annotated {

QPointF pixelOf(double longitude, double latitude) {
    double lon = std::fmod(longitude - kWest, 360.0);
    if (lon < 0) lon += 360.0;
    return {lon * kWidth / (kEast - kWest), (kNorth - latitude) * kHeight / (kNorth - kSouth)};
}

QImage colourMap(const mktiles::Grid& grid, Look look) {
    HeadlessPlatform ui;
    Program p(ui);
    initbands(p.colour);
    p.colour.scheme = look.scheme;
    p.colour.mode = look.mode;

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    mktiles::RowInterpolator rows(grid, kWest, kWidth / (kEast - kWest), kWidth);
    std::vector<std::int16_t> heights(kWidth);
    for (int y = 0; y < kHeight; ++y) {
        rows.row(kNorth - (y + 0.5) * (kNorth - kSouth) / kHeight, heights);
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            Setcolours(p, look.scheme, heights[x]);
            out[x] = packRgb(p.colour.R, p.colour.G, p.colour.B);
        }
    }
    return image;
}

namespace {

// Text with a dark halo, readable on any colour of the map.
void haloText(QPainter& painter, QPointF baseline, const QString& text, const QFont& font) {
    QPainterPath path;
    path.addText(baseline, font, text);
    painter.setPen(QPen(QColor(0, 0, 0, 190), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawPath(path);
}

}  // namespace

void annotate(QImage& map) {
    QPainter painter(&map);
    painter.setRenderHint(QPainter::Antialiasing);

    // Graticule: meridians every 30 degrees, parallels at 0 and +-30.
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
    for (int lon = -150; lon < 180; lon += 30) {
        const double x = pixelOf(lon, 0).x();
        painter.drawLine(QPointF(x, 0), QPointF(x, kHeight));
    }
    for (int lat : {-30, 0, 30}) {
        const double y = pixelOf(0, lat).y();
        painter.drawLine(QPointF(0, y), QPointF(kWidth, y));
    }

    QFont large("Liberation Sans");
    large.setPixelSize(12);
    large.setBold(true);
    large.setItalic(true);
    QFont small("Liberation Sans");
    small.setPixelSize(10);
    small.setBold(true);

    // Plains first, as large names at their centres; then the other features
    // with a marker and the name beside it where it finds room.
    std::vector<QRectF> taken;
    auto fits = [&](const QRectF& r) {
        if (r.left() < 1 || r.top() < 1 || r.right() > kWidth - 1 || r.bottom() > kHeight - 1) return false;
        for (const QRectF& t : taken)
            if (t.intersects(r)) return false;
        return true;
    };
    bool plains = true;
    for (const FeatureSubmenu& menu : featureSubmenus()) {
        for (const Feature& f : menu.features) {
            const double lat = (f.north + f.south) / 2.0;
            if (lat > kNorth || lat < kSouth) continue;
            const QPointF at = pixelOf((f.west + f.east) / 2.0, lat);
            const QString name = QString::fromUtf8(f.caption.data(), qsizetype(f.caption.size()));
            const QFont& font = plains ? large : small;
            const QFontMetricsF metrics(font);
            const QSizeF size(metrics.horizontalAdvance(name), metrics.height());

            std::vector<QPointF> corners;  // top-left corners to try, best first
            if (plains) {
                corners = {at - QPointF(size.width() / 2, size.height() / 2)};
            } else {
                corners = {at + QPointF(4, -size.height() / 2), at - QPointF(size.width() + 4, size.height() / 2),
                           at - QPointF(size.width() / 2, size.height() + 3), at + QPointF(-size.width() / 2, 3)};
            }
            for (const QPointF& corner : corners) {
                const QRectF box(corner, size);
                if (!fits(box)) continue;
                if (!plains) {
                    painter.setPen(QPen(Qt::black, 1.0));
                    painter.setBrush(Qt::white);
                    painter.drawEllipse(at, 2.2, 2.2);
                }
                haloText(painter, corner + QPointF(0, metrics.ascent()), name, font);
                taken.push_back(box.adjusted(-2, -1, 2, 1));
                taken.push_back(QRectF(at - QPointF(3, 3), QSizeF(6, 6)));
                break;
            }
        }
        plains = false;
    }
}

}  // namespace rubicel::annotated
