// SPDX-License-Identifier: MIT
// search_key.cpp: the form in which names and typed text are compared when places are looked up.
#include "places/search_key.h"

#include <array>
#include <cstdint>

namespace rubicel {
namespace {

// The ASCII letters of U+00C0 to U+017F (Latin-1 Supplement and Latin
// Extended-A), in lower case; empty for the two signs among them (× and ÷),
// which separate words.
constexpr std::array<const char*, 0x180 - 0xC0> kLatinLetters = {
    // U+00C0: ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏ
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    // U+00D0: ÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "ss",
    // U+00E0: àáâãäåæçèéêëìíîï
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    // U+00F0: ðñòóôõö÷øùúûüýþÿ
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y",
    // U+0100: ĀāĂăĄąĆćĈĉĊċČčĎď
    "a", "a", "a", "a", "a", "a", "c", "c", "c", "c", "c", "c", "c", "c", "d", "d",
    // U+0110: ĐđĒēĔĕĖėĘęĚěĜĝĞğ
    "d", "d", "e", "e", "e", "e", "e", "e", "e", "e", "e", "e", "g", "g", "g", "g",
    // U+0120: ĠġĢģĤĥĦħĨĩĪīĬĭĮį
    "g", "g", "g", "g", "h", "h", "h", "h", "i", "i", "i", "i", "i", "i", "i", "i",
    // U+0130: İıĲĳĴĵĶķĸĹĺĻļĽľĿ
    "i", "i", "ij", "ij", "j", "j", "k", "k", "k", "l", "l", "l", "l", "l", "l", "l",
    // U+0140: ŀŁłŃńŅņŇňŉŊŋŌōŎŏ
    "l", "l", "l", "n", "n", "n", "n", "n", "n", "n", "n", "n", "o", "o", "o", "o",
    // U+0150: ŐőŒœŔŕŖŗŘřŚśŜŝŞş
    "o", "o", "oe", "oe", "r", "r", "r", "r", "r", "r", "s", "s", "s", "s", "s", "s",
    // U+0160: ŠšŢţŤťŦŧŨũŪūŬŭŮů
    "s", "s", "t", "t", "t", "t", "t", "t", "u", "u", "u", "u", "u", "u", "u", "u",
    // U+0170: ŰűŲųŴŵŶŷŸŹźŻżŽžſ
    "u", "u", "u", "u", "w", "w", "y", "y", "y", "z", "z", "z", "z", "z", "z", "s",
};

bool isCombiningMark(char32_t c) { return c >= 0x300 && c <= 0x36F; }
bool isGeneralPunctuation(char32_t c) { return c >= 0x2000 && c <= 0x206F; }

// The code point of the UTF-8 sequence at text[at], its length in length; a
// byte that begins no well-formed sequence is taken alone, as U+FFFD.
char32_t decode(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return std::uint8_t(text[at + i]); };
    const std::uint8_t b = byte(0);
    length = 1;
    if (b < 0x80) return b;
    const std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
    if (n == 0 || at + n > text.size()) return 0xFFFD;
    char32_t c = b & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0xFFFD;
        c = c << 6 | (byte(i) & 0x3F);
    }
    length = n;
    return c;
}

}  // namespace

std::string searchKey(std::string_view utf8) {
    std::string key;
    key.reserve(utf8.size());
    bool space = false;  // a separator is pending before the next letter
    const auto letters = [&](std::string_view s) {
        if (space && !key.empty()) key += ' ';
        space = false;
        key += s;
    };
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t length = 1;
        const char32_t c = decode(utf8, at, length);
        if (c < 0x80) {
            const char a = char(c);
            const char lower = a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a;
            if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9')) letters(std::string_view(&lower, 1));
            else space = true;
        } else if (c >= 0xC0 && c < 0x180) {
            const std::string_view folded = kLatinLetters[c - 0xC0];
            if (folded.empty()) space = true;
            else letters(folded);
        } else if (isGeneralPunctuation(c)) {
            space = true;
        } else if (!isCombiningMark(c)) {
            letters(utf8.substr(at, length));
        }
        at += length;
    }
    return key;
}

}  // namespace rubicel
