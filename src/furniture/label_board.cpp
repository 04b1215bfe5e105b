// SPDX-License-Identifier: MIT
// label_board.cpp: the room labels have taken on the picture so far, and labels made from measured texts.
#include "furniture/label_board.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "furniture/label_font.h"

namespace rubicel {

LabelBoard::LabelBoard(double width, double height, double unit)
    : gap_(kLabelGap * unit),
      cell_(kCell * unit),
      columns_(std::max(1, int(std::ceil(width / cell_)))),
      rows_(std::max(1, int(std::ceil(height / cell_)))),
      filed_(std::size_t(columns_) * std::size_t(rows_)) {}

LabelBoard::CellRange LabelBoard::cells(const PictureBox& box) const {
    // Boxes beyond the picture are filed under its edge cells.
    const auto cell = [this](double v, int count) { return std::clamp(int(std::floor(v / cell_)), 0, count - 1); };
    return {cell(box.left, columns_), cell(box.top, rows_), cell(box.right(), columns_), cell(box.bottom(), rows_)};
}

bool LabelBoard::free(const PictureBox& box) const {
    const CellRange r = cells(box);
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x)
            for (const int i : filed_[std::size_t(y) * std::size_t(columns_) + std::size_t(x)])
                if (boxes_[std::size_t(i)].overlaps(box)) return false;
    return true;
}

void LabelBoard::take(const PictureBox& box) {
    const PictureBox kept = box.grown(gap_);
    const int index = int(boxes_.size());
    boxes_.push_back(kept);
    const CellRange r = cells(kept);
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x) filed_[std::size_t(y) * std::size_t(columns_) + std::size_t(x)].push_back(index);
}

MeasuredText measureText(const LabelFont& font, std::string text, TextSize size, double unit) {
    MeasuredText m;
    if (unit == 1.0) {
        m.width = font.width(text, size);
        m.height = font.lineHeight(size);
        m.ascent = font.ascent(size);
    } else {
        const double em = textPixels(size) * unit;
        m.width = font.widthAt(text, em);
        m.height = (font.ascender() + font.descender()) * em;
        m.ascent = font.ascender() * em;
    }
    m.size = size;
    m.text = std::move(text);
    return m;
}

std::vector<PlacedGlyph> glyphsOf(const LabelFont& font, std::string_view text, TextSize size, double unit) {
    return unit == 1.0 ? font.glyphRun(text, size) : font.glyphRunAt(text, textPixels(size) * unit);
}

FurnitureLabel labelAt(const MeasuredText& text, LabelRole role, double left, double top, PicturePoint anchor,
                       LabelPlacement placement) {
    FurnitureLabel label;
    label.text = text.text;
    label.role = role;
    label.size = text.size;
    label.box = {left, top, text.width, text.height};
    label.origin = {left, top + text.ascent};
    label.anchor = anchor;
    label.placement = placement;
    return label;
}

}  // namespace rubicel
