// SPDX-License-Identifier: MIT
// setting_lines.h: the "name=value" lines of the program's small settings files, read one way.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace rubicel {

// Hands each "name=value" line of text to take(k, value), k the place of name
// in names. Blank lines are passed over and a line may end in CR. False at
// once for a line without '=', a name not in names, or when take refuses the
// value (returns false).
template <class Take>
bool readSettingLines(std::string_view text, std::span<const std::string_view> names, Take take) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == text.npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const auto equals = line.find('=');
        if (equals == line.npos) return false;
        std::size_t k = 0;
        while (k < names.size() && names[k] != line.substr(0, equals)) ++k;
        if (k == names.size() || !take(k, line.substr(equals + 1))) return false;
    }
    return true;
}

}  // namespace rubicel
