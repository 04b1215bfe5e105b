// SPDX-License-Identifier: MIT
// font_files.h: the sans-serif font files the program prints with, as the font configuration finds them.
#pragma once

#include <string>
#include <vector>

namespace rubicel {

// The family the program prints in: metric-compatible with Arial.
inline constexpr const char* kPrintFamily = "Liberation Sans";

// The regular font files text may be printed with, in order of preference:
// Liberation Sans, then the system's sans-serif font; empty when the font
// configuration finds neither.
std::vector<std::string> sansFontFiles();

}  // namespace rubicel
