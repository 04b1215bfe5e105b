// SPDX-License-Identifier: MIT
// menu_area.h: the menu bar row of the main window: the menus, then the status item.
#pragma once

#include <QWidget>

class QMenuBar;

namespace rubicel {

// Holds two menu bars: the menus, and the status item that follows them. When
// the status text does not fit beside the menus it moves to a row of its own
// below them, as a window's menu bar wraps, so that it is always shown whole.
class MenuArea : public QWidget {
public:
    explicit MenuArea(QWidget* parent);

    QMenuBar* menus() const { return menus_; }
    QMenuBar* status() const { return status_; }
    // Lays the two bars out again after the status text changed.
    void refresh();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool fitsOnOneRow(int width) const;
    void place();

    QMenuBar* menus_;
    QMenuBar* status_;
};

}  // namespace rubicel
