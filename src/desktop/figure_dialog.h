// SPDX-License-Identifier: MIT
// figure_dialog.h: File > Export Figure: the dialog asking for format, width, title, layers and file.
#pragma once

#include <QDialog>
#include <QPointer>

#include "export/figure_export.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QShortcut;

namespace rubicel {

struct Program;
class MainForm;

// The choices and the file, the file's extension following the format.
class FigureDialog : public QDialog {
public:
    FigureDialog(QWidget* parent, const FigureChoices& choices, const QString& path);

    FigureChoices choices() const;
    QString path() const;

    QComboBox* format() const { return format_; }
    QDoubleSpinBox* width() const { return width_; }
    QLineEdit* title() const { return title_; }
    QLineEdit* file() const { return file_; }
    // Graticule, Place Names, Landing Sites, Scale Bar.
    QCheckBox* layer(int i) const { return layers_[i]; }

private:
    void formatChosen();
    void browse();

    QComboBox* format_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* file_ = nullptr;
    QCheckBox* layers_[4] = {};
};

// Joins File > Export Figure (and its key, the end of its caption) to the
// dialog; writes the figure the user accepts, asking before replacing a file.
// The item is enabled only while a finished map is shown and nothing is drawn.
class FigureExporter {
public:
    FigureExporter(Program& p, MainForm& form);
    ~FigureExporter();
    FigureExporter(const FigureExporter&) = delete;
    FigureExporter& operator=(const FigureExporter&) = delete;

    // Opens the dialog, modal; returns once it is closed and the figure written or not.
    void open();
    // The dialog while it is open, or null.
    FigureDialog* dialog() const { return dialog_; }
    // Enables the item as the map and the drawing allow.
    void refresh();

private:
    bool available() const;

    Program& p_;
    MainForm& form_;
    QShortcut* key_ = nullptr;
    QPointer<FigureDialog> dialog_;
    FigureChoices last_;  // the format and width kept from one export to the next
};

}  // namespace rubicel
