// SPDX-License-Identifier: MIT
// font_files.cpp: the sans-serif font files the program prints with, as fontconfig finds them.
#include "common/font_files.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace rubicel {

namespace {

// The file of the regular face the font configuration picks for family, or
// nothing when there is none; with exact set, only a face of that very family.
std::optional<std::string> matchFont(FcConfig* config, const char* family, bool exact) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    std::optional<std::string> file;
    FcChar8* path = nullptr;
    FcChar8* found = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
        FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch &&
        (!exact || ::strcasecmp(reinterpret_cast<const char*>(found), family) == 0))
        file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    return file;
}

}  // namespace

std::vector<std::string> sansFontFiles() {
    std::vector<std::string> paths;
    // A configuration of the program's own, so nothing is shared with the
    // window system's use of the same library.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return paths;
    for (const auto& [family, exact] : {std::pair{kPrintFamily, true}, std::pair{"sans-serif", false}})
        if (auto file = matchFont(config, family, exact))
            if (std::find(paths.begin(), paths.end(), *file) == paths.end()) paths.push_back(std::move(*file));
    FcConfigDestroy(config);
    return paths;
}

}  // namespace rubicel
