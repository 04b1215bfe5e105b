// SPDX-License-Identifier: MIT
// tool_windows.cpp: activation and closing of the keys and the range dialog.
#include "windows/tool_windows.h"

#include "keys/colour_keys.h"
#include "windows/key_windows.h"
#include "windows/range_dialog.h"

namespace rubicel {

void toolWindowActivated(Program& p, ToolWindow window) {
    switch (window) {
    case ToolWindow::Key: Key_Form_Activate(p); break;
    case ToolWindow::Hkey: Hkey_Form_Activate(p); break;
    case ToolWindow::Uchoice: uchoice_Form_Activate(p); break;
    }
}

void toolWindowClosed(Program& p, ToolWindow window) {
    switch (window) {
    case ToolWindow::Key:
    case ToolWindow::Hkey: unloadKey(p, window); break;
    case ToolWindow::Uchoice: uchoice_Form_Unload(p); break;
    }
}

}  // namespace rubicel
