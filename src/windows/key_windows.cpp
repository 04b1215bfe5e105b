// SPDX-License-Identifier: MIT
// key_windows.cpp: the key windows' life: loading, the Show Colour Key menu, activation, closing.
#include "windows/key_windows.h"

#include <cassert>

#include "keys/colour_keys.h"
#include "keys/key_font.h"
#include "windows/program.h"

namespace rubicel {

namespace {

const KeyLayout& layoutOf(ToolWindow window) {
    return window == ToolWindow::Key ? kVerticalKeyLayout : kHorizontalKeyLayout;
}

}  // namespace

KeyWindow& keyWindow(Program& p, ToolWindow window) {
    assert(window == ToolWindow::Key || window == ToolWindow::Hkey);
    KeyWindow& key = window == ToolWindow::Key ? p.Key : p.Hkey;
    if (!key.loaded) {
        blankKeyImage(key.image, layoutOf(window));
        key.loaded = true;
        std::string error;
        if (!KeyFont::shared(&error) && !p.keyFontProblemShown) {
            // The keys still show their strips; the labels need the font.
            p.keyFontProblemShown = true;
            p.ui.messageBox("The colour key cannot print its labels: " + error, "", Icon::Information);
        }
    }
    return key;
}

void makekey(Program& p, std::int16_t scheme) {
    KeyWindow& key = keyWindow(p, ToolWindow::Key);
    paintVerticalKeyImage(p, key.image, scheme);
    p.ui.toolWindowChanged(ToolWindow::Key);
}

void makeHkey(Program& p, std::int16_t scheme) {
    KeyWindow& key = keyWindow(p, ToolWindow::Hkey);
    paintHorizontalKeyImage(p, key.image, scheme);
    p.ui.toolWindowChanged(ToolWindow::Hkey);
}

void repaintKeys(Program& p) {
    makekey(p, p.colour.scheme);
    makeHkey(p, p.colour.scheme);
}

void keepontop(Program& p, ToolWindow window) { p.ui.keepOnTop(window); }

void unloadKey(Program& p, ToolWindow window) {
    KeyWindow& key = window == ToolWindow::Key ? p.Key : p.Hkey;
    if (!key.loaded) return;
    key = KeyWindow{};
    p.ui.closeToolWindow(window);
}

void m_key_Click(Program& p, std::int16_t index) {
    switch (index) {
    case 0:
        // Shown first, then the other key closes.
        keyWindow(p, ToolWindow::Key);
        p.ui.showToolWindow(ToolWindow::Key, kVerticalKeyLayout.screenLeft, kVerticalKeyLayout.screenTop);
        unloadKey(p, ToolWindow::Hkey);
        break;
    case 1:
        // The other key closes first, then this one is shown.
        keyWindow(p, ToolWindow::Hkey);
        unloadKey(p, ToolWindow::Key);
        p.ui.showToolWindow(ToolWindow::Hkey, kHorizontalKeyLayout.screenLeft, kHorizontalKeyLayout.screenTop);
        break;
    default:
        break;
    }
}

void Key_Form_Activate(Program& p) {
    keepontop(p, ToolWindow::Key);
    makekey(p, p.colour.scheme);
}

void Hkey_Form_Activate(Program& p) {
    keepontop(p, ToolWindow::Hkey);
    makeHkey(p, p.colour.scheme);
}

void closeKeyWindows(Program& p) {
    unloadKey(p, ToolWindow::Key);
    unloadKey(p, ToolWindow::Hkey);
}

}  // namespace rubicel
