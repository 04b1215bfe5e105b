// SPDX-License-Identifier: MIT
// form_host.h: the custom-area and relief dialogs, the save panel, the help viewer and the built-in map for the Qt platform.
#pragma once

#include <QPointer>
#include <string>
#include <string_view>

#include "platform/platform.h"

class QWidget;

namespace rubicel {

struct Program;
class Raster;
class CustomAreaDialog;
class SavePanelWidget;
class ReliefDialogWindow;

// Carries out the form operations of the platform seam; the Qt platform passes
// its showForm, formChanged, setFocus, showHtmlHelp and annotatedMap calls here.
class FormHost {
public:
    // mainWindow owns the dialog and the help viewer; mapArea is the widget the
    // map picture lies in, over which the save panel is drawn.
    FormHost(Program& p, QWidget* mainWindow, QWidget* mapArea);

    void showForm(Form form, bool shown);
    void formChanged(Form form);
    void setFocus(Form form, std::string_view control);
    void showHtmlHelp(const std::string& file);
    bool annotatedMap(Raster& image);

    CustomAreaDialog* customArea();
    SavePanelWidget* savePanel() const;
    ReliefDialogWindow* reliefDialog();

private:
    Program& p_;
    QWidget* mainWindow_;
    QPointer<CustomAreaDialog> customArea_;
    QPointer<SavePanelWidget> savePanel_;
    QPointer<ReliefDialogWindow> relief_;
};

// Copies the built-in annotated map of Mars (a resource of the program) into
// image; false, with image emptied, when it cannot be decoded.
bool loadAnnotatedMap(Raster& image);

}  // namespace rubicel
