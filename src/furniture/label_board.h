// SPDX-License-Identifier: MIT
// label_board.h: the room labels have taken on the picture so far, and labels made from measured texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "furniture/furniture_layout.h"
#include "furniture/label_font.h"

namespace rubicel {

// Space kept clear between a label and anything taken before it, pixels.
inline constexpr double kLabelGap = 2.0;

// The boxes taken, for placing each new label where nothing is yet. Boxes are
// filed under the cells of a coarse grid they cover, so a test looks only at
// its neighbours.
class LabelBoard {
public:
    // unit: picture pixels to a unit of the style (FurnitureLayout::unit).
    LabelBoard(double width, double height, double unit = 1.0);
    // Whether box keeps kLabelGap units clear of every box taken.
    bool free(const PictureBox& box) const;
    void take(const PictureBox& box);

private:
    static constexpr double kCell = 64.0;
    struct CellRange {
        int x0, y0, x1, y1;  // inclusive
    };
    CellRange cells(const PictureBox& box) const;

    double gap_ = kLabelGap;
    double cell_ = kCell;
    int columns_ = 1;
    int rows_ = 1;
    std::vector<PictureBox> boxes_;
    std::vector<std::vector<int>> filed_;  // per cell, indexes into boxes_
};

// A text measured for placing.
struct MeasuredText {
    std::string text;
    TextSize size = TextSize::Small;
    double width = 0;
    double height = 0;
    double ascent = 0;
};
// At unit 1 with the advances of font.width, at any other unit with its
// linear advances at an em of textPixels(size) x unit (FurnitureLayout::unit).
MeasuredText measureText(const LabelFont& font, std::string text, TextSize size, double unit);
// The glyphs a backend draws for a label of size at unit, by the rule it was
// measured with: LabelFont::glyphRun at unit 1, glyphRunAt an em of
// textPixels(size) x unit otherwise.
std::vector<PlacedGlyph> glyphsOf(const LabelFont& font, std::string_view text, TextSize size, double unit);

// The label of text with its box's north-west corner at (left, top).
FurnitureLabel labelAt(const MeasuredText& text, LabelRole role, double left, double top, PicturePoint anchor,
                       LabelPlacement placement);

}  // namespace rubicel
