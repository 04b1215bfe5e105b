// SPDX-License-Identifier: MIT
// label_font.cpp: unhinted glyph advances of the furniture's font, read with FreeType.
#include "furniture/label_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <utility>

#include "common/font_files.h"

namespace rubicel {

struct LabelFont::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

LabelFont::LabelFont(std::unique_ptr<Face> face, std::string file) : face_(std::move(face)), file_(std::move(file)) {
    const FT_Face f = face_->face;
    if (f->family_name) family_ = f->family_name;
    ascender_ = double(f->ascender) / double(f->units_per_EM);
    descender_ = -double(f->descender) / double(f->units_per_EM);
    for (char32_t c = 0; c < kTableEnd; ++c) table_[c] = measure(c);
}

LabelFont::~LabelFont() = default;

std::unique_ptr<LabelFont> LabelFont::load(const std::string& path, std::string& error) {
    auto face = std::make_unique<Face>();
    if (FT_Init_FreeType(&face->library) != 0) {
        error = "the FreeType library could not be started";
        return nullptr;
    }
    if (FT_New_Face(face->library, path.c_str(), 0, &face->face) != 0) {
        error = "cannot read the font file " + path;
        return nullptr;
    }
    if (!FT_IS_SCALABLE(face->face) || face->face->units_per_EM == 0) {
        error = "the font file " + path + " holds no outlines";
        return nullptr;
    }
    return std::unique_ptr<LabelFont>(new LabelFont(std::move(face), path));
}

const LabelFont* LabelFont::shared(std::string* error) {
    struct Loaded {
        std::unique_ptr<LabelFont> font;
        std::string error;
    };
    static const Loaded loaded = [] {
        Loaded result;
        result.font = firstSansFont<LabelFont>(
            [](const std::string& path, std::string& error) { return load(path, error); }, result.error);
        return result;
    }();
    if (error) *error = loaded.error;
    return loaded.font.get();
}

LabelFont::Glyph LabelFont::measure(char32_t c) const {
    const FT_Face f = face_->face;
    Glyph g;
    g.index = FT_Get_Char_Index(f, FT_ULong(c));
    for (std::size_t s = 0; s < kTextPixels.size(); ++s) {
        // A failed load leaves the advance 0: the backends draw nothing there either.
        if (FT_Set_Char_Size(f, 0, FT_F26Dot6(kTextPixels[s] * 64.0), 72, 72) == 0 &&
            FT_Load_Glyph(f, g.index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
            g.advance[s] = std::int32_t(f->glyph->advance.x);
    }
    // Unscaled, the advance is in design units.
    if (FT_Load_Glyph(f, g.index, FT_LOAD_NO_SCALE) == 0)
        g.linear = double(f->glyph->advance.x) / double(f->units_per_EM);
    return g;
}

const LabelFont::Glyph& LabelFont::glyph(char32_t c) const {
    if (c < kTableEnd) return table_[c];
    const std::lock_guard<std::mutex> lock(moreLock_);
    auto found = more_.find(c);
    if (found == more_.end()) found = more_.emplace(c, measure(c)).first;
    return found->second;
}

double LabelFont::width(std::string_view text, TextSize size) const {
    std::int64_t advance = 0;
    for (std::size_t at = 0; at < text.size();) advance += glyph(nextCodePoint(text, at)).advance[std::size_t(size)];
    return double(advance) / 64.0;
}

std::vector<PlacedGlyph> LabelFont::glyphRun(std::string_view text, TextSize size) const {
    std::vector<PlacedGlyph> run;
    std::int64_t pen = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Glyph& g = glyph(nextCodePoint(text, at));
        run.push_back({g.index, double(pen) / 64.0});
        pen += g.advance[std::size_t(size)];
    }
    return run;
}

double LabelFont::widthAt(std::string_view text, double em) const {
    double advance = 0;
    for (std::size_t at = 0; at < text.size();) advance += glyph(nextCodePoint(text, at)).linear;
    return advance * em;
}

std::vector<PlacedGlyph> LabelFont::glyphRunAt(std::string_view text, double em) const {
    std::vector<PlacedGlyph> run;
    double pen = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Glyph& g = glyph(nextCodePoint(text, at));
        run.push_back({g.index, pen * em});
        pen += g.linear;
    }
    return run;
}

char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    constexpr char32_t kReplacement = 0xFFFD;
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at++);
    if (lead < 0x80) return lead;
    int more;
    char32_t c;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        c = lead & 0x07;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < more; ++k) {
        if (at >= text.size() || (byte(at) & 0xC0) != 0x80) return kReplacement;
        c = (c << 6) | (byte(at++) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF.
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[more] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return kReplacement;
    return c;
}

}  // namespace rubicel
