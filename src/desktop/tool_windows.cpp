// SPDX-License-Identifier: MIT
// tool_windows.cpp: creating, placing, raising and closing the tool windows.
#include "desktop/tool_windows.h"

#include "keys/colour_keys.h"
#include "keys/key_surface.h"
#include "desktop/key_window.h"
#include "desktop/range_dialog_window.h"
#include "windows/program.h"
#include "windows/tool_windows.h"

namespace rubicel {

ToolWindows::ToolWindows(Program& p) : p_(p) {}

ToolWindows::~ToolWindows() {
    for (QPointer<QWidget>& window : windows_) delete window.data();
}

QWidget* ToolWindows::create(ToolWindow window) {
    QWidget* widget = nullptr;
    if (window == ToolWindow::Uchoice) {
        auto* dialog = new RangeDialogWindow(p_);
        dialog->onActivate = [this] { toolWindowActivated(p_, ToolWindow::Uchoice); };
        dialog->onClose = [this] { toolWindowClosed(p_, ToolWindow::Uchoice); };
        widget = dialog;
    } else {
        const KeyGeometry g = keyGeometry(window == ToolWindow::Key ? kVerticalKeyLayout : kHorizontalKeyLayout);
        auto* key = new KeyWindowWidget(window == ToolWindow::Key ? p_.Key.image : p_.Hkey.image,
                                        QSize(g.client.width, g.client.height));
        key->setObjectName(window == ToolWindow::Key ? "Key" : "Hkey");
        key->onActivate = [this, window] { toolWindowActivated(p_, window); };
        key->onClose = [this, window] { toolWindowClosed(p_, window); };
        widget = key;
    }
    windows_[index(window)] = widget;
    return widget;
}

void ToolWindows::show(ToolWindow window, int left, int top) {
    QWidget* widget = windows_[index(window)];
    if (!widget) widget = create(window);
    // The outer top-left corner, title bar included, goes to left, top.
    widget->move(layoutPixels(left), layoutPixels(top));
    widget->show();
    widget->raise();
    widget->activateWindow();
}

void ToolWindows::close(ToolWindow window) {
    QWidget* widget = windows_[index(window)];
    if (!widget) return;
    windows_[index(window)] = nullptr;
    widget->hide();
    widget->deleteLater();
}

void ToolWindows::keepOnTop(ToolWindow window) {
    QWidget* widget = windows_[index(window)];
    if (!widget) return;
    if (!(widget->windowFlags() & Qt::WindowStaysOnTopHint)) {
        // Changing a window's flags hides it; it comes back where it was, as large as it was.
        const QRect place = widget->geometry();
        const bool shown = widget->isVisible();
        widget->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        widget->setGeometry(place);
        if (shown) widget->show();
    }
    widget->raise();
}

void ToolWindows::changed(ToolWindow window) {
    QWidget* widget = windows_[index(window)];
    if (!widget) return;
    if (window == ToolWindow::Uchoice)
        static_cast<RangeDialogWindow*>(widget)->refresh();
    else
        widget->update();
}

}  // namespace rubicel
