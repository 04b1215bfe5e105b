// SPDX-License-Identifier: MIT
// font_files.h: the sans-serif font files the program prints with, as the font configuration finds them.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace rubicel {

// The family the program prints in: metric-compatible with Arial.
inline constexpr const char* kPrintFamily = "Liberation Sans";

// The regular font files text may be printed with, in order of preference:
// Liberation Sans, then the system's sans-serif font; empty when the font
// configuration finds neither.
std::vector<std::string> sansFontFiles();

// The first of sansFontFiles() that load(path, error) opens, or null with error
// saying why none did.
template <typename Font, typename Load>
std::unique_ptr<Font> firstSansFont(Load load, std::string& error) {
    for (const std::string& path : sansFontFiles())
        if (std::unique_ptr<Font> font = load(path, error)) return font;
    if (error.empty())
        error = std::string("no font of the family ") + kPrintFamily +
                " nor any sans-serif font was found (install the package fonts-liberation)";
    return nullptr;
}

}  // namespace rubicel
