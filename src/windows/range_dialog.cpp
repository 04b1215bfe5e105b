// SPDX-License-Identifier: MIT
// range_dialog.cpp: the range dialog's bars, their invariant, and userbands.
#include "windows/range_dialog.h"

#include <algorithm>
#include <charconv>

#include "colour/user_bands.h"
#include "common/number_text.h"
#include "keys/colour_keys.h"
#include "windows/key_windows.h"
#include "windows/program.h"
#include "windows/topography_menu.h"

namespace rubicel {

namespace {

// Sets bar's value inside its range; returns whether it moved.
bool moveBar(ScrollBarState& bar, int value) {
    const int lo = std::min(bar.min, bar.max), hi = std::max(bar.min, bar.max);
    const auto clamped = std::int16_t(std::clamp(value, lo, hi));
    if (clamped == bar.value) return false;
    bar.value = clamped;
    return true;
}

// The integer value of a caption: its leading decimal number, 0 when it has none.
std::int16_t captionValue(const std::string& caption) {
    int value = 0;
    const char* first = caption.data();
    const char* last = caption.data() + caption.size();
    while (first != last && *first == ' ') ++first;
    std::from_chars(first, last, value);
    return std::int16_t(std::clamp(value, -32768, 32767));
}

}  // namespace

RangeDialog& loadUchoice(Program& p) {
    if (!p.uchoice.loaded) {
        p.uchoice = RangeDialog{};
        p.uchoice.loaded = true;
    }
    return p.uchoice;
}

void presetRangeDialog(Program& p) {
    RangeDialog& d = loadUchoice(p);
    setTopLimitRange(p, d.TopLimit.min, kUpperLimitMax);
    setTopLimitRange(p, kUpperLimitMin, d.TopLimit.max);
    setTopLimitValue(p, kUpperLimitMax);
    d.altitude[0] = plainText(kUpperLimitMax);
    setBottomLimitRange(p, d.BottomLimit.min, kLowerLimitMax);
    setBottomLimitRange(p, kLowerLimitMin, d.BottomLimit.max);
    setBottomLimitValue(p, kLowerLimitMin);
    d.altitude[1] = plainText(kLowerLimitMin);
    p.ui.toolWindowChanged(ToolWindow::Uchoice);
}

void m_define_Click(Program& p) {
    loadUchoice(p);
    p.ui.showToolWindow(ToolWindow::Uchoice, kRangeDialogLayout.left, kRangeDialogLayout.top);
}

void uchoice_Form_Activate(Program& p) { p.ui.keepOnTop(ToolWindow::Uchoice); }

void uchoice_Form_Unload(Program& p) {
    if (!p.uchoice.loaded) return;
    p.uchoice = RangeDialog{};
    p.ui.closeToolWindow(ToolWindow::Uchoice);
}

void setTopLimitValue(Program& p, int value) {
    if (moveBar(p.uchoice.TopLimit, value)) TopLimit_Change(p);
}

void setBottomLimitValue(Program& p, int value) {
    if (moveBar(p.uchoice.BottomLimit, value)) BottomLimit_Change(p);
}

void setTopLimitRange(Program& p, int min, int max) {
    ScrollBarState& bar = p.uchoice.TopLimit;
    bar.min = std::int16_t(min);
    bar.max = std::int16_t(max);
    setTopLimitValue(p, bar.value);
}

void setBottomLimitRange(Program& p, int min, int max) {
    ScrollBarState& bar = p.uchoice.BottomLimit;
    bar.min = std::int16_t(min);
    bar.max = std::int16_t(max);
    setBottomLimitValue(p, bar.value);
}

// Each correction moves the bar by one arrow step and raises the handler again,
// so the bar climbs until the upper value is more than 500 above the lower. A bar
// stopped at the end of its range raises nothing more, and the handler ends.
void TopLimit_Change(Program& p) {
    RangeDialog& d = p.uchoice;
    if (d.TopLimit.value <= d.BottomLimit.value + kRangeMinimumGap)
        setTopLimitValue(p, d.TopLimit.value + kRangeSmallChange);
    d.altitude[0] = plainText(d.TopLimit.value);
}

void BottomLimit_Change(Program& p) {
    RangeDialog& d = p.uchoice;
    if (d.TopLimit.value <= d.BottomLimit.value + kRangeMinimumGap)
        setBottomLimitValue(p, d.BottomLimit.value - kRangeSmallChange);
    d.altitude[1] = plainText(d.BottomLimit.value);
}

void redraw_Click(Program& p) { userbands(p); }

void userbands(Program& p) {
    const std::int16_t lower = captionValue(p.uchoice.altitude[1]);
    const std::int16_t upper = captionValue(p.uchoice.altitude[0]);
    // Limits the bars can give always fit; others leave everything as it was.
    if (!userbandsFromLimits(p.colour, lower, upper)) return;
    p.colour.scheme = 9;
    repaintKeys(p);
    tickcontourlist(p);
}

}  // namespace rubicel
