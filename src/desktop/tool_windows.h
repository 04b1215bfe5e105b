// SPDX-License-Identifier: MIT
// tool_windows.h: the colour keys and the range dialog as Qt windows, for QtPlatform.
#pragma once

#include <QPointer>
#include <QWidget>

#include <array>

#include "platform/platform.h"

namespace rubicel {

struct Program;

// Creates each tool window when it is first shown, carries out the platform's
// tool-window operations on it, and reports activation and closing to the
// program. A window that the program discards is deleted.
class ToolWindows {
public:
    explicit ToolWindows(Program& p);
    ~ToolWindows();
    ToolWindows(const ToolWindows&) = delete;
    ToolWindows& operator=(const ToolWindows&) = delete;

    void show(ToolWindow window, int left, int top);
    void close(ToolWindow window);
    void keepOnTop(ToolWindow window);
    void changed(ToolWindow window);

    // The window, or null when it is not shown.
    QWidget* widget(ToolWindow window) const { return windows_[index(window)]; }

private:
    static std::size_t index(ToolWindow window) { return std::size_t(window); }
    QWidget* create(ToolWindow window);

    Program& p_;
    std::array<QPointer<QWidget>, 3> windows_;
};

}  // namespace rubicel
