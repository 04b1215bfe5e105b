// SPDX-License-Identifier: MIT
// menu_area.h: the menu bar row of the main window: the menus, then the status item.
#pragma once

#include <QWidget>

class QMenuBar;

namespace rubicel {

// The status item "prcent": shows the caption of its action as the menu bar
// shows an item, cut with an ellipsis to the room it has, the whole caption
// as its tooltip.
class StatusItem : public QWidget {
public:
    explicit StatusItem(QWidget* parent);
    // The whole caption, and what is shown of it in the width the item has now.
    QString caption() const;
    QString shownText() const;
    QSize sizeHint() const override;

protected:
    void actionEvent(QActionEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Left edge of the text's item, and the item's width beyond the text.
    int itemLeft() const;
    int itemPadding() const;
};

// One row, always the menus' height: the menus, then the status item in the
// room they leave, so that no caption moves the map below.
class MenuArea : public QWidget {
public:
    explicit MenuArea(QWidget* parent);

    QMenuBar* menus() const { return menus_; }
    StatusItem* status() const { return status_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();

    QMenuBar* menus_;
    StatusItem* status_;
};

}  // namespace rubicel
