// SPDX-License-Identifier: MIT
// page_text.h: points, boxes, lines and lines of text on a figure's page, text measured with the furniture's font.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rubicel {

class LabelFont;

// A point of the page, in points from its top-left corner (figure_style.h).
struct PagePoint {
    double x = 0;
    double y = 0;
};

struct PageBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool overlaps(const PageBox& o) const {
        return left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
    }
    PageBox grown(double by) const { return {left - by, top - by, width + 2 * by, height + 2 * by}; }
    // The smallest box holding both; an empty box (no width and no height) holds nothing.
    PageBox united(const PageBox& o) const;
};

// A straight line between two points, drawn with butt ends.
struct PageLine {
    PagePoint from;
    PagePoint to;
};

// Which point of its line a text hangs from when a backend sets it with a
// layout of its own (an SVG viewer, whose font may be another): its start,
// its middle or its end, on the baseline.
enum class TextAlign { Start, Middle, End };

// One line of text. size is its em in points; origin the pen's start on the
// baseline; box from the pen's start as wide as the glyphs' linear advances
// (LabelFont::widthAt) and from ascender() x size above the baseline to
// descender() x size below it. Backends that place glyphs themselves draw
// LabelFont::glyphRunAt(text, size) from origin; the others anchor the text at
// anchor() with align.
struct PageText {
    std::string text;  // UTF-8
    double size = 0;
    PagePoint origin;
    PageBox box;
    TextAlign align = TextAlign::Start;

    PagePoint anchor() const;
};

// text of size points whose align point stands at x on the baseline at y.
PageText setText(const LabelFont& font, std::string text, double size, double x, double baseline, TextAlign align);
// The baseline that centres a line of size points on y (its box's middle there).
double centredBaseline(const LabelFont& font, double size, double y);

// text broken at its spaces into lines no wider than width at size points;
// a word wider than width stands on a line of its own.
std::vector<std::string> wrapWords(const LabelFont& font, std::string_view text, double size, double width);

}  // namespace rubicel
