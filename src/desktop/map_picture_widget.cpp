// SPDX-License-Identifier: MIT
// map_picture_widget.cpp: painting the map raster and reporting mouse presses.
#include "desktop/map_picture_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QRubberBand>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

#include "common/raster.h"

namespace rubicel {

MapPictureWidget::MapPictureWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("dmap");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    band_ = new QRubberBand(QRubberBand::Rectangle, this);
    // The read-out looks like a tooltip but lies in the window, over the map:
    // in the picture's parent, so that beside a small picture it is not cut
    // at the picture's edges.
    readout_ = new QLabel(parent ? parent : this);
    readout_->setObjectName("readout");
    readout_->setFont(QToolTip::font());
    readout_->setPalette(QToolTip::palette());
    readout_->setBackgroundRole(QPalette::ToolTipBase);
    readout_->setForegroundRole(QPalette::ToolTipText);
    readout_->setAutoFillBackground(true);
    readout_->setFrameShape(QFrame::Box);
    readout_->setMargin(2);
    readout_->setAttribute(Qt::WA_TransparentForMouseEvents);
    readout_->hide();
    // A minute at most, as a read-out that no move renews should not stay for good.
    constexpr int kShowMilliseconds = 60000;
    readoutTimer_ = new QTimer(this);
    readoutTimer_->setSingleShot(true);
    readoutTimer_->setInterval(kShowMilliseconds);
    QObject::connect(readoutTimer_, &QTimer::timeout, readout_, &QWidget::hide);
    resize(0, 0);
}

bool MapPictureWidget::banding() const { return band_->isVisible(); }

void MapPictureWidget::showPointerText(const QString& text) {
    pointerText_ = text;
    if (text.isEmpty()) {
        readout_->hide();
        readoutTimer_->stop();
        return;
    }
    readout_->setText(text);
    readout_->adjustSize();
    placePointerLabel();
    readout_->show();
    readout_->raise();
    readoutTimer_->start();
}

void MapPictureWidget::placePointerLabel() {
    // Below and right of the pointer, as a tooltip; to its left or above it
    // where that would reach past the part of the window that shows the map.
    constexpr int kRight = 12, kBelow = 18, kGap = 4;
    QWidget* home = readout_->parentWidget();
    const QRect area = shownArea ? shownArea() : home->rect();
    const QPoint pointer = home == this ? pointer_ : mapTo(home, pointer_);
    const QSize size = readout_->size();
    int x = pointer.x() + kRight;
    int y = pointer.y() + kBelow;
    if (x + size.width() > area.right() + 1) x = pointer.x() - kGap - size.width();
    if (y + size.height() > area.bottom() + 1) y = pointer.y() - kGap - size.height();
    x = std::max(area.left(), std::min(x, area.right() + 1 - size.width()));
    y = std::max(area.top(), std::min(y, area.bottom() + 1 - size.height()));
    readout_->move(x, y);
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
    // A release that went elsewhere (to a message box opened during the drag)
    // ends the drag without moving the map.
    if (middle_ && !(event->buttons() & Qt::MiddleButton)) {
        middle_ = false;
        if (onMiddleDrag) onMiddleDrag(3, float(event->position().x()), float(event->position().y()));
    }
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
    // What is left of a turn is forgotten after a pause or when the wheel
    // turns the other way, so it never adds to a later turn.
    constexpr int kNotch = 120;
    constexpr qint64 kPauseMilliseconds = 500;
    const int angle = event->angleDelta().y();
    const qint64 time = qint64(event->timestamp());
    if (time - wheelTime_ > kPauseMilliseconds || time < wheelTime_) wheelAngle_ = 0;
    if (angle != 0 && wheelAngle_ != 0 && (angle > 0) != (wheelAngle_ > 0)) wheelAngle_ = 0;
    if (angle != 0) wheelTime_ = time;
    wheelAngle_ += angle;
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
    // Smooth edges for the lines and the mark only; the map is already drawn.
    painter.setRenderHint(QPainter::Antialiasing);
    // A yellow or white line with a black edge, round at its joins.
    const auto pen = [](const QColor& colour, int width) {
        return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    };
    if (lineShown_) {
        // While it is drawn, the line goes straight from pixel centre to pixel centre.
        const QPointF from = QPointF(lineFrom_) + QPointF(0.5, 0.5), to = QPointF(lineTo_) + QPointF(0.5, 0.5);
        painter.setPen(pen(Qt::black, 4));
        painter.drawLine(from, to);
        painter.setPen(pen(Qt::white, 2));
        painter.drawLine(from, to);
    }
    const std::optional<ProfileOverlay> overlay = profileOverlay ? profileOverlay() : std::nullopt;
    if (!overlay) return;
    for (const auto& [colour, width] : {std::pair{QColor(Qt::black), 4}, std::pair{QColor(Qt::yellow), 2}}) {
        painter.setPen(pen(colour, width));
        for (const QPolygonF& run : overlay->path) painter.drawPolyline(run);
    }
    if (overlay->mark) {
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::red);
        painter.drawEllipse(*overlay->mark, 4, 4);
    }
}

}  // namespace rubicel
