// SPDX-License-Identifier: MIT
// custom_area.h: the custom-area dialog GetArea: centre and spans typed in, checked, drawn.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rubicel {

struct Program;

// The four text boxes of GetArea, in tab order.
enum class AreaBox : int { longw = 0, latn = 1, longwid = 2, lathgt = 3 };

// What the dialog keeps for the whole run. The centre values live in
// p.map.maparea slots 0 (longitude) and 1 (latitude); nothing is reset when the
// dialog opens again.
struct CustomArea {
    std::int16_t halfwidth = 0;   // (longitude span + 1) / 2
    std::int16_t halfheight = 0;  // (latitude span + 1) / 2
    std::array<std::string, 4> text;  // what each box shows, by AreaBox
};

// Returns the whole number a box's text reads as: leading blanks, a sign, digits
// with a decimal point and an exponent, up to the first other character; text
// without a number reads 0; rounded half to even. Nothing when the number does
// not fit 16 bits, which puts it outside every box's range.
[[nodiscard]] std::optional<std::int16_t> readBoxNumber(std::string_view text);

// "Custom Area": shows the dialog, not modal.
void m_custom_Click(Program& p);
// The dialog became active: the focus goes to the centre longitude box.
void GetArea_Form_Activate(Program& p);

// Sets the text of a box, as a program or a keystroke does: the window is told
// and the box's change check runs, which may set the text again from inside.
void setBoxText(Program& p, AreaBox box, std::string text);

// A click into a box empties it.
void longw_Click(Program& p);
void latn_Click(Program& p);
void longwid_Click(Program& p);
void lathgt_Click(Program& p);
void boxClick(Program& p, AreaBox box);

// The change checks, run on every change of a box's text.
void longw_Change(Program& p);
void latn_Change(Program& p);
void longwid_Change(Program& p);
void lathgt_Change(Program& p);

// "&Draw Map": closes the dialog, turns centre and spans into limits in
// p.map.maparea and draws them.
void okbox_Click(Program& p);

}  // namespace rubicel
