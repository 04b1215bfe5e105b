// SPDX-License-Identifier: MIT
// label_font.h: the font the map furniture prints in, measured as the drawing backends draw it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "furniture/furniture_style.h"

namespace rubicel {

// A glyph of a text and where it stands: its index in the font file and the
// pen's distance from the text's origin along the baseline, in pixels.
struct PlacedGlyph {
    std::uint32_t index = 0;
    double x = 0;
};

// Measures text in pixels of the map picture at the three text sizes, with
// FreeType, in the font file the font configuration finds for Liberation Sans.
//
// The contract every backend keeps, so that a label drawn fills exactly the
// box the layout gave it:
//  - the face is the file file() names, face 0, at an em of textPixels(size)
//    pixels (FT_Set_Char_Size at 72 dots per inch);
//  - each UTF-8 code point is one glyph, the face's character map giving its
//    index (0 where the face has none); no kerning, no ligatures, no shaping;
//  - the pen advances by the glyph's unhinted advance (FT_LOAD_NO_HINTING,
//    advance.x in 26.6 fixed point), so a text's width is the sum of those;
//  - a text line is ascent() above and descent() below its baseline, the
//    face's design ascender and descender scaled to the em.
// Cairo draws the run glyphRun() gives with cairo_show_glyphs, from an FT_Face
// of the same file with hinting off (CAIRO_HINT_STYLE_NONE,
// CAIRO_HINT_METRICS_OFF); Qt the same indexes and positions as a QGlyphRun of
// a QRawFont of that file (QFont::PreferNoHinting). Neither lets its own text
// layout place the glyphs: cairo_show_text advances by the linear advances
// (up to 1/128 pixel a glyph apart from these), Qt's own advances differ by
// up to a fifth of a pixel over a name.
class LabelFont {
public:
    ~LabelFont();
    LabelFont(const LabelFont&) = delete;
    LabelFont& operator=(const LabelFont&) = delete;

    // Opens the font file at path; nothing, with error set, when it fails.
    static std::unique_ptr<LabelFont> load(const std::string& path, std::string& error);
    // The furniture's font, opened on first use; null when no font file was
    // found, error then says what is missing.
    static const LabelFont* shared(std::string* error = nullptr);

    const std::string& file() const { return file_; }
    // The face's family name, "Liberation Sans"; a document that names its
    // fonts (a figure's SVG) names this one.
    const std::string& family() const { return family_; }
    double ascent(TextSize size) const { return ascender_ * textPixels(size); }
    double descent(TextSize size) const { return descender_ * textPixels(size); }
    double lineHeight(TextSize size) const { return ascent(size) + descent(size); }

    // The width of text (UTF-8), the sum of its glyphs' advances.
    double width(std::string_view text, TextSize size) const;
    // The glyphs of text, each at its pen position.
    std::vector<PlacedGlyph> glyphRun(std::string_view text, TextSize size) const;

    // Text at any em (a figure's points): the glyphs' linear advances, the
    // design advances scaled to em with no rounding, which is how a page
    // backend (Cairo with hint metrics off, a PDF or SVG viewer) sets text of
    // that size. The same contract as above otherwise: one glyph a code point,
    // no kerning; a line ascender() x em above and descender() x em below the
    // baseline.
    double ascender() const { return ascender_; }
    double descender() const { return descender_; }
    double widthAt(std::string_view text, double em) const;
    std::vector<PlacedGlyph> glyphRunAt(std::string_view text, double em) const;

private:
    struct Face;
    struct Glyph {
        std::uint32_t index = 0;
        std::array<std::int32_t, 3> advance{};  // 26.6 pixels, at each TextSize
        double linear = 0;                       // design advance per unit of em
    };
    explicit LabelFont(std::unique_ptr<Face> face, std::string file);
    Glyph measure(char32_t c) const;
    const Glyph& glyph(char32_t c) const;

    std::unique_ptr<Face> face_;
    std::string file_;
    std::string family_;
    double ascender_ = 0;   // per pixel of em
    double descender_ = 0;  // per pixel of em, positive below the baseline
    // Code points below kTableEnd are measured up front (every name of the
    // gazetteer but a handful); the others on first use.
    static constexpr char32_t kTableEnd = 0x180;
    std::array<Glyph, kTableEnd> table_{};
    mutable std::mutex moreLock_;
    mutable std::map<char32_t, Glyph> more_;
};

// The code point at text[at], moving at past it; U+FFFD for a byte that
// starts no well-formed UTF-8 sequence.
char32_t nextCodePoint(std::string_view text, std::size_t& at);

}  // namespace rubicel
