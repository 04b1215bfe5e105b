// SPDX-License-Identifier: MIT
// menu_area.cpp: the menus and the status item, on one row or wrapped onto two.
#include "desktop/menu_area.h"

#include <QMenuBar>

#include <algorithm>

namespace rubicel {

MenuArea::MenuArea(QWidget* parent) : QWidget(parent), menus_(new QMenuBar(this)), status_(new QMenuBar(this)) {
    menus_->setNativeMenuBar(false);
    status_->setNativeMenuBar(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

bool MenuArea::fitsOnOneRow(int width) const {
    return menus_->sizeHint().width() + status_->sizeHint().width() <= width;
}

int MenuArea::heightForWidth(int width) const {
    const int menusHeight = menus_->sizeHint().height();
    const int statusHeight = status_->sizeHint().height();
    return fitsOnOneRow(width) ? std::max(menusHeight, statusHeight) : menusHeight + statusHeight;
}

QSize MenuArea::sizeHint() const {
    return {menus_->sizeHint().width() + status_->sizeHint().width(),
            std::max(menus_->sizeHint().height(), status_->sizeHint().height())};
}

QSize MenuArea::minimumSizeHint() const { return {0, menus_->sizeHint().height()}; }

void MenuArea::refresh() {
    place();
    updateGeometry();
}

void MenuArea::resizeEvent(QResizeEvent*) { place(); }

void MenuArea::place() {
    const int w = width();
    const int menusWidth = menus_->sizeHint().width();
    const int menusHeight = menus_->sizeHint().height();
    if (fitsOnOneRow(w)) {
        menus_->setGeometry(0, 0, menusWidth, height());
        status_->setGeometry(menusWidth, 0, w - menusWidth, height());
    } else {
        menus_->setGeometry(0, 0, w, menusHeight);
        status_->setGeometry(0, menusHeight, w, height() - menusHeight);
    }
}

}  // namespace rubicel
