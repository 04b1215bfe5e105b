// SPDX-License-Identifier: MIT
// key_windows.h: what the main window asks of the two colour-key windows.
#pragma once

namespace rubicel {

struct Program;

// Repaints the vertical and then the horizontal key in the current scheme,
// creating either window hidden when it does not exist.
void repaintKeys(Program& p);
// Closes the vertical and then the horizontal key window (on leaving the program).
void closeKeyWindows(Program& p);

}  // namespace rubicel
