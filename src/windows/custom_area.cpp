// SPDX-License-Identifier: MIT
// custom_area.cpp: the custom-area dialog GetArea: centre and spans typed in, checked, drawn.
#include "windows/custom_area.h"

#include <charconv>
#include <cmath>

#include "common/number_text.h"
#include "common/rounding.h"
#include "maps/area_renderer.h"
#include "windows/explore.h"
#include "windows/program.h"

namespace rubicel {

namespace {

constexpr const char* kRefusalTitle = "INVALID ENTRY";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string& boxText(Program& p, AreaBox box) { return p.getArea.text[static_cast<int>(box)]; }

// Refuses the text of box: the message, then the box is emptied, which runs its
// change check again for the empty text.
void refuse(Program& p, AreaBox box, const char* text) {
    p.ui.messageBox(text, kRefusalTitle, Icon::Critical);
    setBoxText(p, box, std::string());
}

}  // namespace

std::optional<std::int16_t> readBoxNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // Mantissa: digits, a decimal point, digits; where its first significant
    // digit stands decides the size of the number before it is converted.
    const std::size_t start = i;
    bool anyDigit = false;
    bool significant = false;
    long long integerDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        anyDigit = true;
        if (text[i] != '0') significant = true;
        if (significant) ++integerDigits;
        ++i;
    }
    long long leadingFractionZeros = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            anyDigit = true;
            if (!significant) {
                if (text[i] == '0') ++leadingFractionZeros;
                else significant = true;
            }
            ++i;
        }
    }
    if (!anyDigit || !significant) return std::int16_t{0};
    std::size_t end = i;

    // Exponent: only when digits follow the letter and its sign. Its size is
    // capped: anything past the cap is far outside every range either way.
    constexpr long long kExponentCap = 1'000'000'000'000'000LL;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                if (exponent < kExponentCap) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (negativeExponent) exponent = -exponent;
            end = j;
        }
    }

    // The power of ten of the first significant digit: the value lies in
    // [10^scale, 10^(scale+1)).
    const long long scale = (integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1)) + exponent;
    if (scale > 5) return std::nullopt;      // 10^6 and more: beyond 16 bits
    if (scale < -2) return std::int16_t{0};  // below 0.01: rounds to 0

    // The magnitude is now moderate, so the conversion neither overflows nor
    // underflows. The sign was taken off above (from_chars takes no '+').
    double value = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + end, value);
    if (result.ec != std::errc()) return std::nullopt;
    return toInt16(negative ? -value : value);
}

void m_custom_Click(Program& p) { p.ui.showForm(Form::GetArea, true); }

void GetArea_Form_Activate(Program& p) { p.ui.setFocus(Form::GetArea, "longw"); }

void setBoxText(Program& p, AreaBox box, std::string text) {
    boxText(p, box) = std::move(text);
    p.ui.formChanged(Form::GetArea);
    switch (box) {
    case AreaBox::longw: longw_Change(p); break;
    case AreaBox::latn: latn_Change(p); break;
    case AreaBox::longwid: longwid_Change(p); break;
    case AreaBox::lathgt: lathgt_Change(p); break;
    }
}

void boxClick(Program& p, AreaBox box) { setBoxText(p, box, std::string()); }
void longw_Click(Program& p) { boxClick(p, AreaBox::longw); }
void latn_Click(Program& p) { boxClick(p, AreaBox::latn); }
void longwid_Click(Program& p) { boxClick(p, AreaBox::longwid); }
void lathgt_Click(Program& p) { boxClick(p, AreaBox::lathgt); }

// Every refusal returns straight after emptying its box: the nested run for the
// empty text has stored the box's final value, and nothing may overwrite it.

void longw_Change(Program& p) {
    const auto v = readBoxNumber(boxText(p, AreaBox::longw));
    if (!v || *v < -180 || *v > 180) {
        refuse(p, AreaBox::longw, "Value must lie between -180 and +180 degrees");
        return;
    }
    p.map.maparea[0] = *v;
}

void latn_Change(Program& p) {
    const auto v = readBoxNumber(boxText(p, AreaBox::latn));
    if (!v || *v < -85 || *v > 85) {
        refuse(p, AreaBox::latn, "Value must lie between -85 and +85 degrees");
        return;
    }
    p.map.maparea[1] = *v;
}

void longwid_Change(Program& p) {
    const auto v = readBoxNumber(boxText(p, AreaBox::longwid));
    if (v) p.getArea.halfwidth = static_cast<std::int16_t>((*v + 1) / 2);
    if (!v || *v < 0 || *v > 50) {
        refuse(p, AreaBox::longwid, "Longitude span must lie beween 0\u00b0 and 50\u00b0");
        return;
    }
}

void lathgt_Change(Program& p) {
    const int c = p.map.maparea[1];
    const auto v = readBoxNumber(boxText(p, AreaBox::lathgt));
    if (v) p.getArea.halfheight = static_cast<std::int16_t>((*v + 1) / 2);
    if (!v || *v < 0 || *v > 50) {
        refuse(p, AreaBox::lathgt, "Latitude span must lie between 0\u00b0 and 50\u00b0");
        return;
    }
    // The largest span is twice the distance from the centre to the nearer pole.
    const int half = p.getArea.halfheight;
    int maximum;
    if (c - half < -90) maximum = 180 + 2 * c;
    else if (c + half > 90) maximum = 180 - 2 * c;
    else return;
    const std::string text = "Maximum height for a map centred on " + plainText(c) + " is" + " " +
                             plainText(maximum) + " degrees";
    p.ui.messageBox(text, std::string(), Icon::None);
    setBoxText(p, AreaBox::lathgt, std::string());
}

void okbox_Click(Program& p) {
    p.ui.showForm(Form::GetArea, false);
    auto& area = p.map.maparea;
    const int halfwidth = p.getArea.halfwidth;
    const int halfheight = p.getArea.halfheight;

    // East from the centre first, then west over the centre's slot; the same
    // for south and north. All values stay within a few hundred degrees.
    area[2] = static_cast<std::int16_t>(area[0] + halfwidth);
    area[0] = static_cast<std::int16_t>(area[0] - halfwidth);
    if (area[0] < -180) {
        area[0] = static_cast<std::int16_t>(area[0] + 360);
        area[2] = static_cast<std::int16_t>(area[2] + 360);
    }
    area[3] = static_cast<std::int16_t>(area[1] - halfheight);
    area[1] = static_cast<std::int16_t>(area[1] + halfheight);

    if (halfwidth == 0 || halfheight == 0) {
        p.ui.messageBox("You must enter positive values for both Width and Height", std::string(), Icon::None);
        return;
    }
    noteAreaRequest(p, area);
    mapfromtile(p, area[0], area[1], area[2], area[3]);
}

}  // namespace rubicel
