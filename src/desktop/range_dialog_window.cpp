// SPDX-License-Identifier: MIT
// range_dialog_window.cpp: the range dialog's controls, placed as designed.
#include "desktop/range_dialog_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "keys/key_surface.h"
#include "windows/program.h"
#include "windows/range_dialog.h"

namespace rubicel {
namespace {

// Arial 9.75 pt at 96 dots per inch: 13 pixels; Liberation Sans stands in.
QFont dialogFont(bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(bold);
    return font;
}

void place(QWidget* control, const TwipRect& rect) {
    control->setGeometry(layoutPixels(rect.left), layoutPixels(rect.top), layoutPixels(rect.width),
                         layoutPixels(rect.height));
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const TwipRect& rect, bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(dialogFont(bold));
    place(label, rect);
    return label;
}

QScrollBar* makeBar(QWidget* parent, const char* name, const TwipRect& rect) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setSingleStep(kRangeSmallChange);
    bar->setPageStep(kRangeLargeChange);
    // A drag reports its value when the thumb is let go, as one change.
    bar->setTracking(false);
    place(bar, rect);
    return bar;
}

void showBar(QScrollBar* bar, const ScrollBarState& state) {
    const QSignalBlocker quiet(bar);
    bar->setRange(state.min, state.max);
    bar->setValue(state.value);
}

}  // namespace

RangeDialogWindow::RangeDialogWindow(Program& p) : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), p_(p) {
    const RangeDialogLayout& layout = kRangeDialogLayout;
    setObjectName("uchoice");
    setWindowTitle(kRangeDialogCaption);
    resize(layoutPixels(layout.client.width), layoutPixels(layout.client.height));

    makeLabel(this, "Label1", kUpperLimitText, layout.Label1, false);
    altitude_[0] = makeLabel(this, "altitude0", {}, layout.altitude0, true);
    topLimit_ = makeBar(this, "TopLimit", layout.TopLimit);
    makeLabel(this, "Label2", kLowerLimitText, layout.Label2, false);
    altitude_[1] = makeLabel(this, "altitude1", {}, layout.altitude1, true);
    bottomLimit_ = makeBar(this, "BottomLimit", layout.BottomLimit);
    redraw_ = new QPushButton(kRedrawText, this);
    redraw_->setObjectName("redraw");
    redraw_->setFont(dialogFont(true));
    place(redraw_, layout.redraw);

    QObject::connect(topLimit_, &QScrollBar::valueChanged, this, [this](int value) {
        setTopLimitValue(p_, value);
        refresh();
    });
    QObject::connect(bottomLimit_, &QScrollBar::valueChanged, this, [this](int value) {
        setBottomLimitValue(p_, value);
        refresh();
    });
    QObject::connect(redraw_, &QPushButton::clicked, this, [this] { redraw_Click(p_); });
    refresh();
}

void RangeDialogWindow::refresh() {
    const RangeDialog& d = p_.uchoice;
    showBar(topLimit_, d.TopLimit);
    showBar(bottomLimit_, d.BottomLimit);
    altitude_[0]->setText(QString::fromStdString(d.altitude[0]));
    altitude_[1]->setText(QString::fromStdString(d.altitude[1]));
}

bool RangeDialogWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && onActivate) onActivate();
    return handled;
}

void RangeDialogWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClose) onClose();
}

}  // namespace rubicel
