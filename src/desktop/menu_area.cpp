// SPDX-License-Identifier: MIT
// menu_area.cpp: the menus and the status item on one row, the status text cut to its room.
#include "desktop/menu_area.h"

#include <QAction>
#include <QActionEvent>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace rubicel {
namespace {

// The item's action: the first visible one with a caption.
const QAction* shownAction(const QWidget& item) {
    for (const QAction* action : item.actions())
        if (action->isVisible() && !action->text().isEmpty()) return action;
    return nullptr;
}

}  // namespace

StatusItem::StatusItem(QWidget* parent) : QWidget(parent) { setObjectName("prcentItem"); }

QString StatusItem::caption() const {
    const QAction* action = shownAction(*this);
    return action ? action->text() : QString();
}

// The item's place, as a menu bar places its first item.
int StatusItem::itemLeft() const {
    return style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this) +
           style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, this) +
           style()->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, this);
}

int StatusItem::itemPadding() const {
    QStyleOptionMenuItem option;
    option.initFrom(this);
    option.menuItemType = QStyleOptionMenuItem::Normal;
    return style()->sizeFromContents(QStyle::CT_MenuBarItem, &option, QSize(0, 0), this).width();
}

QString StatusItem::shownText() const {
    const int room = width() - itemLeft() - itemPadding();
    if (room <= 0) return QString();
    return fontMetrics().elidedText(caption(), Qt::ElideRight, room, Qt::TextShowMnemonic);
}

QSize StatusItem::sizeHint() const {
    const QString text = caption();
    const int textWidth = text.isEmpty() ? 0 : fontMetrics().size(Qt::TextShowMnemonic, text).width() + itemPadding();
    return {itemLeft() + textWidth, fontMetrics().height()};
}

void StatusItem::actionEvent(QActionEvent* event) {
    QWidget::actionEvent(event);
    setToolTip(caption());
    updateGeometry();
    update();
}

void StatusItem::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

void StatusItem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The menu bar's own background, then the item as the menu bar draws one.
    QStyleOptionMenuItem empty;
    empty.palette = palette();
    empty.state = QStyle::State_None;
    empty.menuItemType = QStyleOptionMenuItem::EmptyArea;
    empty.checkType = QStyleOptionMenuItem::NotCheckable;
    empty.rect = rect();
    empty.menuRect = rect();
    style()->drawControl(QStyle::CE_MenuBarEmptyArea, &empty, &painter, this);

    const QString text = shownText();
    if (text.isEmpty()) return;
    QStyleOptionMenuItem item;
    item.initFrom(this);
    item.state = QStyle::State_Enabled;
    item.menuItemType = QStyleOptionMenuItem::Normal;
    item.checkType = QStyleOptionMenuItem::NotCheckable;
    item.menuRect = rect();
    item.text = text;
    const int left = itemLeft();
    const int margin = style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this) +
                       style()->pixelMetric(QStyle::PM_MenuBarVMargin, nullptr, this);
    const int itemWidth = fontMetrics().size(Qt::TextShowMnemonic, text).width() + itemPadding();
    item.rect = QRect(left, margin, std::min(itemWidth, width() - left), height() - 2 * margin);
    painter.setClipRect(item.rect);
    style()->drawControl(QStyle::CE_MenuBarItem, &item, &painter, this);
}

MenuArea::MenuArea(QWidget* parent) : QWidget(parent), menus_(new QMenuBar(this)), status_(new StatusItem(this)) {
    menus_->setNativeMenuBar(false);
    status_->setFont(menus_->font());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize MenuArea::sizeHint() const {
    return {menus_->sizeHint().width() + status_->sizeHint().width(), menus_->sizeHint().height()};
}

QSize MenuArea::minimumSizeHint() const { return {0, menus_->sizeHint().height()}; }

void MenuArea::resizeEvent(QResizeEvent*) { place(); }

void MenuArea::place() {
    const int menusWidth = std::min(width(), menus_->sizeHint().width());
    menus_->setGeometry(0, 0, menusWidth, height());
    status_->setGeometry(menusWidth, 0, width() - menusWidth, height());
}

}  // namespace rubicel
