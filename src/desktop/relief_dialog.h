// SPDX-License-Identifier: MIT
// relief_dialog.h: the window of the "Relief Settings" dialog: sun, exaggeration, strength, Apply.
#pragma once

#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;

namespace rubicel {

struct Program;

// Shows the four boxes the logic keeps in p.reliefDialog, passes typing to it
// and "&Apply" to reliefApply_Click. Not modal.
class ReliefDialogWindow : public QDialog {
public:
    ReliefDialogWindow(Program& p, QWidget* owner);
    // Shows the box texts the logic holds.
    void mirror();
    QLineEdit* box(int index) const { return boxes_[std::size_t(index)]; }
    QPushButton* apply() const { return apply_; }

private:
    Program& p_;
    std::array<QLineEdit*, 4> boxes_{};
    QPushButton* apply_ = nullptr;
};

}  // namespace rubicel
