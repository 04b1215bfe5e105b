// SPDX-License-Identifier: MIT
// config_file_fuzz.cpp: any bytes as the configuration file: the text reader, the number
// reader, and the start-up check reading them from the start folder.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/headless/headless_platform.h"
#include "settings/config_text.h"
#include "windows/config_file.h"
#include "windows/program.h"

namespace rubicel {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A whole number read the plain way: blanks, an optional sign, digits, blanks.
std::optional<std::int16_t> plainWholeNumber(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    long value = 0;
    for (char c : s) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) return std::nullopt;
    return std::int16_t(value);
}

void checkText(std::string_view text) {
    fuzz::expect(parseWholeNumber(text) == plainWholeNumber(text), "parseWholeNumber reads as plainly as it says");

    const ConfigFields fields = parseConfig(text);
    fuzz::expect(!fields.scheme || fields.datafolder, "scheme is read only after the folder");
    fuzz::expect(!fields.mode || fields.scheme, "mode is read only after the scheme");
    if (fields.datafolder) {
        const std::string& folder = *fields.datafolder;
        fuzz::expect(folder.find_first_of("\r\n") == std::string::npos, "the folder is one line");
        fuzz::expect(folder.empty() || folder.front() != ' ', "the folder's leading spaces are dropped");
    }

    // Whatever was read is written back as a whole file and reads back the same.
    const std::string folder = fields.datafolder.value_or("");
    const std::int16_t scheme = fields.scheme.value_or(0);
    const std::int16_t mode = fields.mode.value_or(0);
    const ConfigFields again = parseConfig(formatConfig(folder, scheme, mode));
    fuzz::expect(again.complete(), "a written file reads back whole");
    fuzz::expect(again.datafolder == folder && again.scheme == scheme && again.mode == mode,
                 "a written file reads back the same fields");
}

void checkStartUp(std::string_view text) {
    static const std::filesystem::path start = [] {
        const std::filesystem::path folder = fuzz::scratchFolder() / "start";
        std::filesystem::create_directories(folder);
        return folder;
    }();
    fuzz::writeFile(start / kConfigFileName, text);

    HeadlessPlatform ui;
    Program p{ui};
    p.map.startfolder = start.string();
    fload(p);
    const bool mapArea = ui.enabled(MenuControl::m_area);
    fuzz::expect(ui.messages.size() == (mapArea ? 0u : 1u), "one message exactly when Map Area stays disabled");
    fuzz::expect(!mapArea || p.File1.size() == 4, "Map Area is enabled only for four tiles");
    fuzz::expect(usableScheme(p.colour.scheme) == p.colour.scheme, "the scheme names a menu item");
    fuzz::expect(usableMode(p.colour.mode) == p.colour.mode, "the mode names a menu item");
}

}  // namespace
}  // namespace rubicel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    rubicel::checkText(text);
    rubicel::checkStartUp(text);
    return 0;
}
