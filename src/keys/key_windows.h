// SPDX-License-Identifier: MIT
// key_windows.h: what the main window asks of the two colour-key windows.
#pragma once

namespace rubicel {

struct Program;

// Repaints the vertical and the horizontal key in the current scheme.
// The key windows are not built yet: until they are, there is nothing to repaint.
void repaintKeys(Program& p);
// Closes the vertical and then the horizontal key window (on leaving the program).
// The key windows are not built yet: until they are, there is nothing to close.
void closeKeyWindows(Program& p);

}  // namespace rubicel
