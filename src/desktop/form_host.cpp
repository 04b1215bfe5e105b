// SPDX-License-Identifier: MIT
// form_host.cpp: the custom-area and relief dialogs, the save panel, the help viewer and the built-in map for the Qt platform.
#include "desktop/form_host.h"

#include <QImage>
#include <QLineEdit>
#include <QWidget>
#include <cstring>

#include "common/raster.h"
#include "desktop/custom_area_dialog.h"
#include "desktop/help_viewer.h"
#include "desktop/relief_dialog.h"
#include "desktop/save_panel_widget.h"
#include "windows/program.h"

namespace rubicel {

FormHost::FormHost(Program& p, QWidget* mainWindow, QWidget* mapArea)
    : p_(p), mainWindow_(mainWindow), savePanel_(new SavePanelWidget(p, mapArea)) {}

CustomAreaDialog* FormHost::customArea() {
    if (!customArea_) customArea_ = new CustomAreaDialog(p_, mainWindow_);
    return customArea_;
}

SavePanelWidget* FormHost::savePanel() const { return savePanel_; }

ReliefDialogWindow* FormHost::reliefDialog() {
    if (!relief_) relief_ = new ReliefDialogWindow(p_, mainWindow_);
    return relief_;
}

void FormHost::showForm(Form form, bool shown) {
    if (form == Form::SaveBox) {
        savePanel_->setVisible(shown);
        if (shown) savePanel_->raise();
        return;
    }
    QDialog* dialog = form == Form::Relief ? static_cast<QDialog*>(reliefDialog()) : customArea();
    if (!shown) {
        dialog->hide();
        return;
    }
    formChanged(form);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void FormHost::formChanged(Form form) {
    if (form == Form::SaveBox) savePanel_->mirror();
    else if (form == Form::Relief) {
        if (relief_) relief_->mirror();
    } else if (customArea_) customArea_->mirror();
}

void FormHost::setFocus(Form form, std::string_view control) {
    QWidget* owner = form == Form::SaveBox  ? static_cast<QWidget*>(savePanel_)
                     : form == Form::Relief ? static_cast<QWidget*>(reliefDialog())
                                            : customArea();
    if (auto* target = owner->findChild<QWidget*>(QString::fromUtf8(control.data(), qsizetype(control.size()))))
        target->setFocus(Qt::OtherFocusReason);
}

void FormHost::showHtmlHelp(const std::string& file) { openHtmlHelp(mainWindow_, file); }

bool FormHost::annotatedMap(Raster& image) { return loadAnnotatedMap(image); }

bool loadAnnotatedMap(Raster& image) {
    const QImage picture = QImage(":/rubicel/mars.jpg").convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) {
        image.reset(0, 0);
        return false;
    }
    // Format_RGB32 and the raster both hold one 0xFFRRGGBB word per pixel.
    image.reset(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(image.row(y), picture.constScanLine(y), std::size_t(picture.width()) * 4);
    return true;
}

}  // namespace rubicel
