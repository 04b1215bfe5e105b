// SPDX-License-Identifier: MIT
// tool_windows.h: what a tool window reports to the program: it became active, or it was closed.
#pragma once

#include "platform/platform.h"

namespace rubicel {

struct Program;

// Runs the window's Form_Activate.
void toolWindowActivated(Program& p, ToolWindow window);
// The user closed the window: the program discards it.
void toolWindowClosed(Program& p, ToolWindow window);

}  // namespace rubicel
