// SPDX-License-Identifier: MIT
// map_picture_widget.cpp: painting the map raster and reporting mouse presses.
#include "platform/qt/map_picture_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include "common/raster.h"

namespace rubicel {

MapPictureWidget::MapPictureWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("dmap");
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(0, 0);
}

void MapPictureWidget::setRaster(const Raster& raster) {
    raster_ = &raster;
    wrap();
    resize(image_.width(), image_.height());
    update();
}

void MapPictureWidget::rowsChanged(int first, int last) {
    if (last > first) update(0, first, width(), last - first);
}

void MapPictureWidget::wrap() {
    if (!raster_ || raster_->empty()) {
        image_ = QImage();
        return;
    }
    const auto* bits = reinterpret_cast<const uchar*>(raster_->data());
    if (image_.constBits() == bits && image_.width() == raster_->width() && image_.height() == raster_->height())
        return;
    // The const constructor keeps the raster's memory: no copy, no detach.
    image_ = QImage(bits, raster_->width(), raster_->height(), qsizetype(raster_->width()) * 4,
                    QImage::Format_RGB32);
}

void MapPictureWidget::paintEvent(QPaintEvent* event) {
    wrap();
    QPainter painter(this);
    const QColor background(redOf(kPictureBackground), greenOf(kPictureBackground), blueOf(kPictureBackground));
    const QRect area = event->rect();
    for (const QRect& uncovered : QRegion(area) - QRegion(image_.rect())) painter.fillRect(uncovered, background);
    if (!image_.isNull()) painter.drawImage(area.topLeft(), image_, area);
}

void MapPictureWidget::mousePressEvent(QMouseEvent* event) {
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    const Qt::KeyboardModifiers keys = event->modifiers();
    const int shift = (keys & Qt::ShiftModifier ? 1 : 0) | (keys & Qt::ControlModifier ? 2 : 0) |
                      (keys & Qt::AltModifier ? 4 : 0);
    if (onMouseDown && button != 0)
        onMouseDown(button, shift, float(event->position().x()), float(event->position().y()));
}

}  // namespace rubicel
