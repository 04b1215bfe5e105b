// SPDX-License-Identifier: MIT
// key_windows.h: the two colour-key windows: loading, painting, the Show Colour Key menu, closing.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rubicel {

struct Program;
struct KeyWindow;

// Paints the whole vertical key under scheme (handed to Setcolours unchanged),
// creating the window hidden when it does not exist.
void makekey(Program& p, std::int16_t scheme);
// Paints the whole horizontal key; as makekey.
void makeHkey(Program& p, std::int16_t scheme);
// Repaints the vertical and then the horizontal key in the current scheme,
// creating either window hidden when it does not exist.
void repaintKeys(Program& p);
// Closes the vertical and then the horizontal key window (on leaving the program).
void closeKeyWindows(Program& p);

// Show Colour Key: 0 Vertical, 1 Horizontal.
void m_key_Click(Program& p, std::int16_t index);
void Key_Form_Activate(Program& p);
void Hkey_Form_Activate(Program& p);
// Keeps window above all others without moving or resizing it.
void keepontop(Program& p, ToolWindow window);
// Closes a key window and discards it; closing one that does not exist does nothing.
void unloadKey(Program& p, ToolWindow window);

// The key window's state in p, loaded (blank, hidden) when it does not exist.
KeyWindow& keyWindow(Program& p, ToolWindow window);

}  // namespace rubicel
