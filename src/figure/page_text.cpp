// SPDX-License-Identifier: MIT
// page_text.cpp: lines of text on a figure's page, measured with the furniture's font.
#include "figure/page_text.h"

#include <algorithm>
#include <utility>

#include "furniture/label_font.h"

namespace rubicel {

PageBox PageBox::united(const PageBox& o) const {
    if (width <= 0 && height <= 0) return o;
    if (o.width <= 0 && o.height <= 0) return *this;
    const double l = std::min(left, o.left), t = std::min(top, o.top);
    return {l, t, std::max(right(), o.right()) - l, std::max(bottom(), o.bottom()) - t};
}

PagePoint PageText::anchor() const {
    switch (align) {
    case TextAlign::Start: return origin;
    case TextAlign::Middle: return {box.left + box.width / 2, origin.y};
    case TextAlign::End: return {box.right(), origin.y};
    }
    return origin;
}

PageText setText(const LabelFont& font, std::string text, double size, double x, double baseline, TextAlign align) {
    PageText t;
    const double width = font.widthAt(text, size);
    const double start = align == TextAlign::Start ? x : align == TextAlign::Middle ? x - width / 2 : x - width;
    t.text = std::move(text);
    t.size = size;
    t.origin = {start, baseline};
    t.box = {start, baseline - font.ascender() * size, width, (font.ascender() + font.descender()) * size};
    t.align = align;
    return t;
}

double centredBaseline(const LabelFont& font, double size, double y) {
    // The box runs from ascender above the baseline to descender below it.
    return y + (font.ascender() - font.descender()) * size / 2;
}

std::vector<std::string> wrapWords(const LabelFont& font, std::string_view text, double size, double width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t space = text.find(' ', at);
        const std::string_view word = text.substr(at, space == std::string_view::npos ? std::string_view::npos : space - at);
        at = space == std::string_view::npos ? text.size() : space + 1;
        if (word.empty()) continue;
        std::string longer = line.empty() ? std::string(word) : line + ' ' + std::string(word);
        if (!line.empty() && font.widthAt(longer, size) > width) {
            lines.push_back(std::move(line));
            line = std::string(word);
        } else {
            line = std::move(longer);
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

}  // namespace rubicel
