// SPDX-License-Identifier: MIT
// key_window.cpp: a colour-key window painting the key's picture.
#include "desktop/key_window.h"

#include <QCloseEvent>
#include <QImage>
#include <QPainter>

#include "common/raster.h"
#include "keys/colour_keys.h"

namespace rubicel {

KeyWindowWidget::KeyWindowWidget(const Raster& image, QSize clientSize)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      image_(image) {
    setWindowTitle(kKeyCaption);
    setFixedSize(clientSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool KeyWindowWidget::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && onActivate) onActivate();
    return handled;
}

void KeyWindowWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (image_.empty()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    // The picture's memory is 0xFFRRGGBB words, the layout of Format_RGB32.
    const QImage picture(reinterpret_cast<const uchar*>(image_.data()), image_.width(), image_.height(),
                         qsizetype(image_.width()) * 4, QImage::Format_RGB32);
    painter.drawImage(0, 0, picture);
}

void KeyWindowWidget::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClose) onClose();
}

}  // namespace rubicel
