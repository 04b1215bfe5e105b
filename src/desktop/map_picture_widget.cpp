// SPDX-License-Identifier: MIT
// map_picture_widget.cpp: painting the map raster and reporting mouse presses.
#include "desktop/map_picture_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QRubberBand>
#include <QToolTip>
#include <QWheelEvent>

#include "common/raster.h"

namespace rubicel {

MapPictureWidget::MapPictureWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("dmap");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    band_ = new QRubberBand(QRubberBand::Rectangle, this);
    resize(0, 0);
}

bool MapPictureWidget::banding() const { return band_->isVisible(); }

void MapPictureWidget::showPointerText(const QString& text) {
    pointerText_ = text;
    // A minute at most, as a tooltip that no move renews should not stay for good.
    constexpr int kShowMilliseconds = 60000;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(mapToGlobal(pointer_), text, this, QRect(), kShowMilliseconds);
}

void MapPictureWidget::endDrag() {
    pressed_ = false;
    if (band_->isVisible()) {
        band_->hide();
        releaseKeyboard();
    }
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
    if (paintFurniture) paintFurniture(painter, area);
    paintProfile(painter);
    if (paintPlaceMark) paintPlaceMark(painter);
}

void MapPictureWidget::mousePressEvent(QMouseEvent* event) {
    if (historyPress(event)) return;
    if (event->button() == Qt::MiddleButton) middleEvent(0, event);
    if (profilePress(event)) return;
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    // Another button during a drag ends the drag without drawing.
    endDrag();
    if (button == 1 && onDragAllowed && onDragAllowed()) {
        pressed_ = true;
        origin_ = event->position().toPoint();
    }
    const Qt::KeyboardModifiers keys = event->modifiers();
    const int shift = (keys & Qt::ShiftModifier ? 1 : 0) | (keys & Qt::ControlModifier ? 2 : 0) |
                      (keys & Qt::AltModifier ? 4 : 0);
    if (onMouseDown && button != 0)
        onMouseDown(button, shift, float(event->position().x()), float(event->position().y()));
}

void MapPictureWidget::mouseMoveEvent(QMouseEvent* event) {
    profileMove(event);
    pointer_ = event->position().toPoint();
    if (middle_) middleEvent(1, event);
    if (pressed_ && !band_->isVisible() &&
        (pointer_ - origin_).manhattanLength() >= QApplication::startDragDistance()) {
        band_->show();
        // Escape reaches the picture while the band is shown.
        grabKeyboard();
    }
    if (band_->isVisible()) band_->setGeometry(QRect(origin_, pointer_).normalized());
    if (onMouseMove) onMouseMove(float(event->position().x()), float(event->position().y()));
}

void MapPictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && middle_) middleEvent(2, event);
    if (profileRelease(event)) return;
    if (event->button() != Qt::LeftButton || !pressed_) return;
    const bool dragged = band_->isVisible();
    endDrag();
    if (dragged && onDrag)
        onDrag(float(origin_.x()), float(origin_.y()), float(event->position().x()), float(event->position().y()));
}

void MapPictureWidget::keyPressEvent(QKeyEvent* event) {
    if (profileKey(event)) return;
    if (event->key() == Qt::Key_Escape && pressed_) {
        endDrag();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool MapPictureWidget::historyPress(QMouseEvent* event) {
    if (event->button() != Qt::BackButton && event->button() != Qt::ForwardButton) return false;
    if (onHistoryButton) onHistoryButton(event->button() == Qt::ForwardButton);
    return true;
}

void MapPictureWidget::middleEvent(int phase, QMouseEvent* event) {
    middle_ = phase != 2;
    if (onMiddleDrag) onMiddleDrag(phase, float(event->position().x()), float(event->position().y()));
}

void MapPictureWidget::wheelEvent(QWheelEvent* event) {
    // A notch is 120 eighths of a degree; finer wheels add up to whole notches.
    constexpr int kNotch = 120;
    wheelAngle_ += event->angleDelta().y();
    const int notches = wheelAngle_ / kNotch;
    wheelAngle_ -= notches * kNotch;
    event->accept();
    if (notches != 0 && onWheel)
        onWheel(notches, float(event->position().x()), float(event->position().y()));
}

void MapPictureWidget::leaveEvent(QEvent* event) {
    if (onMouseLeave) onMouseLeave();
    QWidget::leaveEvent(event);
}

bool MapPictureWidget::profilePress(QMouseEvent* event) {
    // Another button during a line ends it without a profile.
    endProfileLine();
    if (event->button() != Qt::LeftButton || !(event->modifiers() & Qt::ShiftModifier)) return false;
    endDrag();
    // During a drawing a Shift-drag does nothing, not even the box.
    if (onProfileAllowed && onProfileAllowed()) {
        linePressed_ = true;
        lineFrom_ = lineTo_ = event->position().toPoint();
    }
    return true;
}

void MapPictureWidget::profileMove(QMouseEvent* event) {
    if (!linePressed_) return;
    const QPoint at = event->position().toPoint();
    if (!lineShown_ && (at - lineFrom_).manhattanLength() >= QApplication::startDragDistance()) {
        lineShown_ = true;
        grabKeyboard();  // Escape reaches the picture while the line is drawn
    }
    if (!lineShown_) return;
    update(QRect(lineFrom_, lineTo_).normalized().adjusted(-4, -4, 4, 4));
    lineTo_ = at;
    update(QRect(lineFrom_, lineTo_).normalized().adjusted(-4, -4, 4, 4));
}

bool MapPictureWidget::profileRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !linePressed_) return false;
    const bool drawn = lineShown_;
    const QPoint from = lineFrom_, to = event->position().toPoint();
    endProfileLine();
    if (drawn && onProfileLine) onProfileLine(float(from.x()), float(from.y()), float(to.x()), float(to.y()));
    return true;
}

bool MapPictureWidget::profileKey(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || !linePressed_) return false;
    endProfileLine();
    return true;
}

void MapPictureWidget::endProfileLine() {
    if (lineShown_) {
        releaseKeyboard();
        update();
    }
    linePressed_ = lineShown_ = false;
}

void MapPictureWidget::paintProfile(QPainter& painter) {
    const auto line = [&painter](QPoint from, QPoint to, const QColor& colour) {
        painter.setPen(QPen(Qt::black, 4));
        painter.drawLine(from, to);
        painter.setPen(QPen(colour, 2));
        painter.drawLine(from, to);
    };
    if (lineShown_) line(lineFrom_, lineTo_, Qt::white);
    const std::optional<ProfileOverlay> overlay = profileOverlay ? profileOverlay() : std::nullopt;
    if (!overlay) return;
    line(overlay->from, overlay->to, Qt::yellow);
    if (overlay->mark) {
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::red);
        painter.drawEllipse(*overlay->mark, 4, 4);
    }
}

}  // namespace rubicel
