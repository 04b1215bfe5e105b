// SPDX-License-Identifier: MIT
// key_font.h: the small sans-serif font of the colour keys, rendered once into glyph bitmaps.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/raster.h"

namespace rubicel {

// The keys print in Arial 8.25 pt and MS Sans Serif 8.25 pt, 11 pixels to the em
// at 96 dots per inch; Liberation Sans, metric-compatible with Arial, stands in
// for both. Glyphs are rendered hinted and without anti-aliasing, so printing the
// same text twice at one place leaves the same pixels, as a repaint must.
class KeyFont {
public:
    static constexpr int kPixelSize = 11;

    // Loads the font file at path; returns nothing and sets error when it fails.
    static std::unique_ptr<KeyFont> load(const std::string& path, int pixelSize, std::string& error);

    // The font of the keys, loaded on first use from the system's font folders.
    // Returns null when no font file was found; error then says what is missing.
    static const KeyFont* shared(std::string* error = nullptr);

    // Distance from the top of a text line to its baseline, in pixels.
    int ascent() const { return ascent_; }
    int lineHeight() const { return lineHeight_; }
    // Width of text in pixels (the sum of the advances).
    int width(std::string_view text) const;

    // Sets the inked pixels of text to colour; the top of the text line is at
    // (x, y). Pixels outside clip are left alone. Returns the x after the text.
    struct Clip { int left, top, right, bottom; };  // right and bottom exclusive
    int draw(Raster& image, int x, int y, std::string_view text, std::uint32_t colour, Clip clip) const;

private:
    struct Glyph {
        int left = 0;     // from the pen to the bitmap's first column
        int top = 0;      // from the baseline up to the bitmap's first row
        int width = 0;
        int height = 0;
        int advance = 0;
        std::vector<std::uint8_t> ink;  // width x height, 1 where the glyph is inked
    };
    const Glyph* glyph(char c) const;

    int ascent_ = 0;
    int lineHeight_ = 0;
    std::array<Glyph, 95> glyphs_;  // printable ASCII, ' ' to '~'
};

}  // namespace rubicel
