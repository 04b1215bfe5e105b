// SPDX-License-Identifier: MIT
// custom_area_dialog.h: the window of the custom-area dialog GetArea ("Select Area").
#pragma once

#include <QDialog>
#include <array>

#include "windows/custom_area.h"

class QLineEdit;
class QPushButton;

namespace rubicel {

struct Program;

// Shows the four boxes the logic keeps in p.getArea and passes typing, clicks
// and "&Draw Map" to it. Not modal.
class CustomAreaDialog : public QDialog {
public:
    CustomAreaDialog(Program& p, QWidget* owner);
    // Shows the box texts the logic holds.
    void mirror();
    QLineEdit* box(AreaBox which) const { return boxes_[static_cast<int>(which)]; }
    QPushButton* okbox() const { return okbox_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Program& p_;
    std::array<QLineEdit*, 4> boxes_{};
    QPushButton* okbox_ = nullptr;
    bool lostToMessage_ = false;  // the dialog was left for a message box
};

}  // namespace rubicel
