// SPDX-License-Identifier: MIT
// range_dialog.h: the range dialog uchoice ("Define Contour Limits") and userbands.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace rubicel {

struct Program;

// A horizontal scroll bar's range and value; its change handler runs whenever
// the value changes.
struct ScrollBarState {
    std::int16_t min = 0;
    std::int16_t max = 0;
    std::int16_t value = 0;
    friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

inline constexpr const char* kRangeDialogCaption = "Define Contour Limits";
inline constexpr int kRangeSmallChange = 50;   // an arrow
inline constexpr int kRangeLargeChange = 500;  // the track
// The upper limit stays more than this above the lower one.
inline constexpr int kRangeMinimumGap = 500;
// The bars' ranges once start-up has preset the dialog: the limits a user can
// choose, and the ones the command line accepts.
inline constexpr int kLowerLimitMin = -8200;
inline constexpr int kLowerLimitMax = 18000;
inline constexpr int kUpperLimitMin = -7700;
inline constexpr int kUpperLimitMax = 21250;

// The dialog as it is while it exists (loaded), shown or not. The limits live in
// the two bars and in the captions of the two value labels; userbands reads the
// captions.
struct RangeDialog {
    bool loaded = false;
    ScrollBarState TopLimit{500, 21250, 500};
    ScrollBarState BottomLimit{0, 20000, 0};
    std::array<std::string, 2> altitude{"20000", "20000"};  // value labels: 0 upper, 1 lower
};

// Design layout of the dialog, twips: client size and each control's place.
struct RangeDialogLayout {
    TwipSize client{4560, 2550};
    TwipRect Label1{120, 240, 2295, 255};
    TwipRect altitude0{3600, 240, 855, 255};
    TwipRect TopLimit{120, 600, 4335, 255};
    TwipRect Label2{120, 1200, 2295, 255};
    TwipRect altitude1{3600, 1200, 855, 255};
    TwipRect BottomLimit{120, 1560, 4335, 255};
    TwipRect redraw{1200, 2040, 2295, 375};
    int left = 8300;  // where Define Range puts it on the screen
    int top = 8000;
};
inline constexpr RangeDialogLayout kRangeDialogLayout{};
inline constexpr const char* kUpperLimitText = "Set upper altitude limit (m)";
inline constexpr const char* kLowerLimitText = "Set lower altitude limit (m)";
inline constexpr const char* kRedrawText = "Redraw Current Map";

// Creates the dialog hidden with its design values when it does not exist.
RangeDialog& loadUchoice(Program& p);
// Start-up: creates the dialog and sets its start ranges and values, the
// lower limit at its lowest and the upper at its highest.
void presetRangeDialog(Program& p);

// Define Range: load the dialog if needed, place it and show it modeless.
void m_define_Click(Program& p);
void uchoice_Form_Activate(Program& p);
// The dialog was closed: it is discarded.
void uchoice_Form_Unload(Program& p);

// Set a bar's range or value as the dialog's code and the user do: the value is
// kept inside min..max, and the bar's change handler runs when it moved.
void setTopLimitValue(Program& p, int value);
void setBottomLimitValue(Program& p, int value);
void setTopLimitRange(Program& p, int min, int max);
void setBottomLimitRange(Program& p, int min, int max);

void TopLimit_Change(Program& p);
void BottomLimit_Change(Program& p);
void redraw_Click(Program& p);
// Turns the two captions into scheme 9's bands, selects scheme 9, repaints both
// keys and redraws the map.
void userbands(Program& p);

}  // namespace rubicel
