// SPDX-License-Identifier: MIT
// save_panel_widget.h: the save panel SaveBox drawn over the map picture.
#pragma once

#include <QFrame>

#include "windows/save_panel.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace rubicel {

struct Program;

// Shows what the logic keeps in p.saveBox and passes the name, Enter and the two
// buttons to it. A child of the main window's map area, hidden until shown.
class SavePanelWidget : public QFrame {
public:
    SavePanelWidget(Program& p, QWidget* parent);
    // Shows the folder, the list and the name the logic holds.
    void mirror();
    QLineEdit* newmap() const { return newmap_; }
    QLabel* showsavepath() const { return showsavepath_; }
    QListWidget* fileList() const { return fileList_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* quitButton() const { return quit_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Program& p_;
    QLineEdit* newmap_;
    QLabel* showsavepath_;
    QListWidget* fileList_;
    QPushButton* save_;
    QPushButton* quit_;
};

}  // namespace rubicel
