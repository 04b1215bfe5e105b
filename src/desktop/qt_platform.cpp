// SPDX-License-Identifier: MIT
// qt_platform.cpp: the window operations of the logic, carried out on the main window.
#include "desktop/qt_platform.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "maps/map_picture.h"
#include "desktop/form_host.h"
#include "desktop/main_form.h"
#include "desktop/map_picture_widget.h"
#include "desktop/save_panel_widget.h"
#include "desktop/tool_windows.h"
#include "windows/main_window.h"
#include "windows/menu_tree.h"
#include "windows/program.h"

namespace rubicel {
namespace {

constexpr const char* kProgramTitle = "Rubicel";

QString text(const std::string& s) { return QString::fromStdString(s); }

int toTwips(int pixels) { return pixels * kTwipsPerPixel; }
// A place falls on the nearest pixel; a size holds whole pixels only, as the
// picture's raster does.
int placeInPixels(int twips) { return int(std::nearbyint(double(twips) / kTwipsPerPixel)); }
int sizeInPixels(int twips) { return twips > 0 ? twips / kTwipsPerPixel : 0; }

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtPlatform::QtPlatform() : form_(std::make_unique<MainForm>()) {}

QtPlatform::~QtPlatform() = default;

void QtPlatform::attach(Program& p) {
    form_->attach(p, menuTree());
    forms_ = std::make_unique<FormHost>(p, form_.get(), form_->client());
    form_->savePanel_ = forms_->savePanel();
    tools_ = std::make_unique<ToolWindows>(p);
    form_->onClose = [&p] {
        if (!p.exiting) Form_Unload(p);
    };
}

void QtPlatform::setMenuChecked(MenuId item, bool checked) {
    QAction* action = form_->action(item);
    if (!action || action->isSeparator()) return;
    // Only a marked item is checkable, so unmarked ones show no empty box.
    form_->checked_[action] = checked;
    if (checked) action->setCheckable(true);
    action->setChecked(checked);
    if (!checked) action->setCheckable(false);
}

void QtPlatform::setMenuEnabled(MenuId item, bool enabled) {
    if (QAction* action = form_->action(item)) action->setEnabled(enabled);
    // The empty window's hint names the folder item while Map Area cannot be used.
    if (item.control == MenuControl::m_area) form_->refreshHint();
}

void QtPlatform::setMenuCaption(MenuId item, const std::string& caption) {
    QAction* action = form_->action(item);
    if (!action) return;
    action->setText(text(caption));
    // The status item shows only while it has something to say.
    if (item.control == MenuControl::prcent) action->setVisible(!caption.empty());
}

void QtPlatform::popupMenu(MenuId menu) {
    // A menu that cannot be opened from the menu bar does not pop up either.
    QMenu* popup = form_->menu(menu);
    if (popup && popup->menuAction()->isEnabled()) popup->popup(QCursor::pos());
}

void QtPlatform::setWindowCaption(const std::string& caption) { form_->setWindowTitle(text(caption)); }

void QtPlatform::messageBox(const std::string& message, const std::string& title, Icon icon) {
    if (onMessage) return onMessage(message, title, icon);
    // Once the program is ending, a drawing that is being wound up shows nothing.
    if (quitting_) return;
    QMessageBox box(boxIcon(icon), text(title.empty() ? kProgramTitle : title), text(message), QMessageBox::Ok,
                    form_.get());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtPlatform::mapImageReset(const Raster& image) {
    form_->picture()->setRaster(image);
    form_->refreshHint();
}

void QtPlatform::mapRowsChanged(int first, int last) { form_->picture()->rowsChanged(first, last); }

TwipSize QtPlatform::clientSize() const {
    const QSize size = form_->client()->size();
    return {toTwips(size.width()), toTwips(size.height())};
}

TwipSize QtPlatform::outerSize() const {
    const QSize size = form_->frameGeometry().size();
    return {toTwips(size.width()), toTwips(size.height())};
}

TwipRect QtPlatform::controlRect(Control control) const {
    const QWidget* widget = form_->control(control);
    if (!widget) return {};
    const QRect r = widget->geometry();
    return {toTwips(r.x()), toTwips(r.y()), toTwips(r.width()), toTwips(r.height())};
}

void QtPlatform::setControlRect(Control control, TwipRect rect) {
    QWidget* widget = form_->control(control);
    if (!widget) return;
    widget->setGeometry(placeInPixels(rect.left), placeInPixels(rect.top), sizeInPixels(rect.width),
                        sizeInPixels(rect.height));
}

void QtPlatform::setControlVisible(Control control, bool visible) {
    QWidget* widget = form_->control(control);
    if (!widget) return;
    widget->setVisible(visible);
    if (visible) widget->raise();
}

int QtPlatform::scrollValue(Control bar) const {
    const QScrollBar* scroll = form_->scrollBar(bar);
    return scroll ? scroll->value() : 0;
}

void QtPlatform::setScrollMaximum(Control bar, int maximum) {
    // The minimum stays 0; a negative maximum leaves the bar at 0. The bar
    // pulls a value above the new maximum down to it and reports the change.
    if (QScrollBar* scroll = form_->scrollBar(bar)) scroll->setRange(0, std::max(0, maximum));
}

void QtPlatform::setScrollValue(Control bar, int value) {
    // The bar clamps the value to its range and reports a change.
    if (QScrollBar* scroll = form_->scrollBar(bar)) scroll->setValue(value);
}

void QtPlatform::setBusyPointer(bool busy) {
    if (busy)
        form_->picture()->setCursor(Qt::WaitCursor);
    else
        form_->picture()->unsetCursor();
}

void QtPlatform::showPointerText(const std::string& text) { form_->picture()->showPointerText(QString::fromStdString(text)); }

void QtPlatform::yieldToEvents() {
    if (!quitting_) QCoreApplication::processEvents();
}

void QtPlatform::quit() {
    quitting_ = true;
    if (onQuit) return onQuit();
    QCoreApplication::exit(0);
}

// The forms' operations go to the form host.

void QtPlatform::showForm(Form form, bool shown) {
    if (forms_) forms_->showForm(form, shown);
}

void QtPlatform::formChanged(Form form) {
    if (forms_) forms_->formChanged(form);
}

void QtPlatform::setFocus(Form form, std::string_view control) {
    if (forms_) forms_->setFocus(form, control);
}

void QtPlatform::showHtmlHelp(const std::string& file) {
    if (forms_) forms_->showHtmlHelp(file);
}

bool QtPlatform::annotatedMap(Raster& image) { return loadAnnotatedMap(image); }

// The tool windows: the colour keys and the range dialog.
void QtPlatform::showToolWindow(ToolWindow window, int left, int top) {
    if (tools_) tools_->show(window, left, top);
}

void QtPlatform::closeToolWindow(ToolWindow window) {
    if (tools_) tools_->close(window);
}

void QtPlatform::keepOnTop(ToolWindow window) {
    if (tools_) tools_->keepOnTop(window);
}

void QtPlatform::toolWindowChanged(ToolWindow window) {
    if (tools_) tools_->changed(window);
}

}  // namespace rubicel
