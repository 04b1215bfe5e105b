// SPDX-License-Identifier: MIT
// map_picture_widget.h: the map picture dmap: shows the program's raster without copying it.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPolygonF>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPainter;
class QRubberBand;
class QTimer;

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
    // The pointer moved over the picture or left it.
    std::function<void(float x, float y)> onMouseMove;
    std::function<void()> onMouseLeave;
    // Asked when the left button goes down: may a drag start now?
    std::function<bool()> onDragAllowed;
    // A left-button drag from (x0, y0) ended at (x1, y1); a press released
    // before the pointer moved the platform's drag distance is a click instead.
    std::function<void(float x0, float y0, float x1, float y1)> onDrag;

    // The wheel turned whole notches (forward positive) with the pointer at (x, y).
    std::function<void(int notches, float x, float y)> onWheel;
    // A middle-button drag: phase 0 the press, 1 a move, 2 the release, 3 the
    // button found up without a release (the drag is dropped).
    std::function<void(int phase, float x, float y)> onMiddleDrag;
    // The mouse's back (false) or forward (true) button.
    std::function<void(bool forward)> onHistoryButton;

    // Shows text in a label beside the pointer, inside the part of the window
    // that shows the map; empty hides it.
    void showPointerText(const QString& text);
    const QString& pointerText() const { return pointerText_; }
    // The label that shows it, a child of the picture's parent.
    const QLabel* pointerLabel() const { return readout_; }
    // The part of the picture's parent that shows the map, beside its scroll
    // bars, in the parent's coordinates (the whole parent when not set).
    std::function<QRect()> shownArea;
    // The rubber band is shown.
    bool banding() const;

    // With Shift held, a left-button drag draws a straight line instead of the
    // box. Asked when the button goes down: may a line start now?
    std::function<bool()> onProfileAllowed;
    // A line from (x0, y0) to (x1, y1) was drawn and let go.
    std::function<void(float x0, float y0, float x1, float y1)> onProfileLine;
    // What stays painted over the map, asked at each paint: the profile's path
    // in runs and a marked point, in picture pixels.
    struct ProfileOverlay {
        std::vector<QPolygonF> path;
        std::optional<QPointF> mark;
    };
    std::function<std::optional<ProfileOverlay>()> profileOverlay;
    // A line is being drawn.
    bool drawingProfileLine() const { return lineShown_; }
    // Paints the mark of a place found by name over the map, at each paint.
    std::function<void(QPainter&)> paintPlaceMark;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void wrap();
    void endDrag();
    void placePointerLabel();
    // The exploring buttons: back and forward, the middle drag. True when the
    // press was the mouse's back or forward button.
    bool historyPress(QMouseEvent* event);
    void middleEvent(int phase, QMouseEvent* event);
    // The profile line's share of the events; true when the event was its own.
    bool profilePress(QMouseEvent* event);
    void profileMove(QMouseEvent* event);
    bool profileRelease(QMouseEvent* event);
    bool profileKey(QKeyEvent* event);
    void endProfileLine();
    void paintProfile(QPainter& painter);

    const Raster* raster_ = nullptr;
    QImage image_;
    QString pointerText_;
    QLabel* readout_ = nullptr;
    QTimer* readoutTimer_ = nullptr;
    QPoint pointer_;            // where the pointer was last seen, picture pixels
    bool pressed_ = false;      // the left button went down where a drag may start
    QPoint origin_;             // where it went down
    QRubberBand* band_ = nullptr;
    bool middle_ = false;       // a middle-button drag is under way
    int wheelAngle_ = 0;        // wheel turn not yet a whole notch, eighths of a degree
    qint64 wheelTime_ = 0;      // event time of the wheel's last turn, milliseconds
    bool linePressed_ = false;  // Shift and the left button went down where a line may start
    bool lineShown_ = false;    // the line follows the pointer
    QPoint lineFrom_, lineTo_;
};

}  // namespace rubicel
