// SPDX-License-Identifier: MIT
// key_font.cpp: glyph bitmaps of the keys' font, made with FreeType.
#include "keys/key_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <utility>

#include "common/font_files.h"

namespace rubicel {

namespace {

constexpr char kFirstGlyph = ' ';
constexpr char kLastGlyph = '~';

// 26.6 fixed point to whole pixels; hinted metrics are whole already.
int pixels(FT_Pos v) { return int((v + 32) >> 6); }

}  // namespace

std::unique_ptr<KeyFont> KeyFont::load(const std::string& path, int pixelSize, std::string& error) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error = "the FreeType library could not be started";
        return nullptr;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        FT_Done_FreeType(library);
        error = "cannot read the font file " + path;
        return nullptr;
    }
    std::unique_ptr<KeyFont> font(new KeyFont);
    bool ok = FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) == 0;
    if (ok) {
        font->ascent_ = pixels(face->size->metrics.ascender);
        font->lineHeight_ = pixels(face->size->metrics.height);
    }
    for (char c = kFirstGlyph; ok && c <= kLastGlyph; ++c) {
        if (FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
            ok = false;
            break;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        Glyph& g = font->glyphs_[std::size_t(c - kFirstGlyph)];
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = int(bitmap.width);
        g.height = int(bitmap.rows);
        g.advance = pixels(slot->advance.x);
        g.ink.assign(std::size_t(g.width) * std::size_t(g.height), 0);
        for (int y = 0; y < g.height; ++y) {
            const unsigned char* src = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
            for (int x = 0; x < g.width; ++x) {
                const bool inked = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                       ? (src[x >> 3] & (0x80 >> (x & 7))) != 0
                                       : src[x] >= 128;
                g.ink[std::size_t(y) * std::size_t(g.width) + std::size_t(x)] = inked ? 1 : 0;
            }
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (!ok) {
        error = "cannot render the glyphs of the font file " + path;
        return nullptr;
    }
    return font;
}

const KeyFont* KeyFont::shared(std::string* error) {
    struct Loaded {
        std::unique_ptr<KeyFont> font;
        std::string error;
    };
    static const Loaded loaded = [] {
        Loaded result;
        result.font = firstSansFont<KeyFont>(
            [](const std::string& path, std::string& error) { return load(path, kPixelSize, error); }, result.error);
        return result;
    }();
    if (error) *error = loaded.error;
    return loaded.font.get();
}

const KeyFont::Glyph* KeyFont::glyph(char c) const {
    if (c < kFirstGlyph || c > kLastGlyph) c = '?';
    return &glyphs_[std::size_t(c - kFirstGlyph)];
}

int KeyFont::width(std::string_view text) const {
    int w = 0;
    for (char c : text) w += glyph(c)->advance;
    return w;
}

int KeyFont::draw(Raster& image, int x, int y, std::string_view text, std::uint32_t colour, Clip clip) const {
    clip.left = std::max(clip.left, 0);
    clip.top = std::max(clip.top, 0);
    clip.right = std::min(clip.right, image.width());
    clip.bottom = std::min(clip.bottom, image.height());
    const int baseline = y + ascent_;
    for (char c : text) {
        const Glyph& g = *glyph(c);
        const int x0 = x + g.left;
        const int y0 = baseline - g.top;
        for (int gy = 0; gy < g.height; ++gy) {
            const int py = y0 + gy;
            if (py < clip.top || py >= clip.bottom) continue;
            const std::uint8_t* ink = g.ink.data() + std::size_t(gy) * std::size_t(g.width);
            std::uint32_t* out = image.row(py);
            for (int gx = 0; gx < g.width; ++gx) {
                const int px = x0 + gx;
                if (ink[gx] && px >= clip.left && px < clip.right) out[px] = colour;
            }
        }
        x += g.advance;
    }
    return x;
}

}  // namespace rubicel
