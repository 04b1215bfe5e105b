// SPDX-License-Identifier: MIT
// key_window.h: a colour-key window, Key or Hkey: shows the key's stored picture.
#pragma once

#include <QWidget>

#include <functional>

namespace rubicel {

class Raster;

// A top-level window, not owned by the main window, whose client area is the
// key's picture kept by the program; the window paints it and never draws
// anything of its own.
class KeyWindowWidget : public QWidget {
public:
    // image: the picture the program paints the key into; it outlives the window.
    KeyWindowWidget(const Raster& image, QSize clientSize);

    std::function<void()> onActivate;  // the window became the active window
    std::function<void()> onClose;     // the user closed the window

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const Raster& image_;
};

}  // namespace rubicel
