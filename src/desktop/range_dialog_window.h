// SPDX-License-Identifier: MIT
// range_dialog_window.h: the range dialog "Define Contour Limits" on Qt Widgets.
#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;

namespace rubicel {

struct Program;

// Two bars with their value labels and the redraw button. The bars' ranges,
// values and the captions live in the program (Program::uchoice); the window
// shows them and hands every move of a bar to the program's handlers.
class RangeDialogWindow : public QWidget {
public:
    explicit RangeDialogWindow(Program& p);

    // Shows the program's values and captions.
    void refresh();

    QScrollBar* TopLimit() const { return topLimit_; }
    QScrollBar* BottomLimit() const { return bottomLimit_; }
    QLabel* altitude(int index) const { return altitude_[index]; }
    QPushButton* redraw() const { return redraw_; }

    std::function<void()> onActivate;
    std::function<void()> onClose;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Program& p_;
    QScrollBar* topLimit_ = nullptr;
    QScrollBar* bottomLimit_ = nullptr;
    QLabel* altitude_[2] = {nullptr, nullptr};
    QPushButton* redraw_ = nullptr;
};

}  // namespace rubicel
