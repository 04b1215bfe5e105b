// SPDX-License-Identifier: MIT
// map_picture_widget.h: the map picture dmap: shows the program's raster without copying it.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace rubicel {

class Raster;

// Paints the raster through a QImage that wraps the raster's own memory. The
// image is wrapped again whenever the raster's size or memory has changed, so
// a stale wrapper is never painted.
class MapPictureWidget : public QWidget {
public:
    explicit MapPictureWidget(QWidget* parent);

    // The raster to show from now on; the widget takes its size.
    void setRaster(const Raster& raster);
    // Rows first..last-1 were drawn.
    void rowsChanged(int first, int last);
    // The wrapper painted last.
    const QImage& image() const { return image_; }

    // A mouse button went down: button 1 left, 2 right, 4 middle; shift 1 Shift,
    // 2 Ctrl, 4 Alt; x, y in pixels of the picture.
    std::function<void(int button, int shift, float x, float y)> onMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void wrap();

    const Raster* raster_ = nullptr;
    QImage image_;
};

}  // namespace rubicel
