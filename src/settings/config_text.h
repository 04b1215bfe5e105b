// SPDX-License-Identifier: MIT
// config_text.h: the text of the configuration file and writing a file without ever truncating it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rubicel {

// What could be read from the start of a configuration file, field by field in
// file order; reading stops at the first line that is missing or unreadable, so
// a field is set only when every field before it is.
struct ConfigFields {
    std::optional<std::string> datafolder;
    std::optional<std::int16_t> scheme;
    std::optional<std::int16_t> mode;
    bool complete() const { return mode.has_value(); }
};

// Returns the three lines: the folder unchanged, then scheme and mode each with a
// sign character (space or "-") and one trailing space; every line ends in CR LF.
std::string formatConfig(std::string_view datafolder, std::int16_t scheme, std::int16_t mode);

// Reads the fields from the file's text. Lines may end in CR LF, LF or CR alone.
// Line 1 is the folder with leading spaces dropped; lines 2 and 3 are whole numbers
// in 16-bit range with surrounding blanks ignored.
ConfigFields parseConfig(std::string_view text);

// Returns the whole number a line holds, or nothing when it holds anything else
// or a value outside 16 bits.
std::optional<std::int16_t> parseWholeNumber(std::string_view line);

// A scheme or mode from a hand-edited file that names no menu item (scheme 6 is
// the separator of the Scheme menu) falls back to 0.
std::int16_t usableScheme(std::int16_t scheme);
std::int16_t usableMode(std::int16_t mode);

// Replaces the file at path by bytes: they go to a new file in the same folder,
// which is flushed to disk and then renamed over the old one, so the old file
// stays whole if anything fails. A symbolic link at path is followed. A device
// or a pipe at path (or at the link's end) is written into, not replaced; a pipe
// that nobody reads is refused at once rather than waited on. Returns what went
// wrong, or nothing.
[[nodiscard]] std::optional<std::string> writeFileReplacing(const std::string& path,
                                                            std::string_view bytes);

}  // namespace rubicel
