// SPDX-License-Identifier: MIT
// config_text.cpp: the text of the configuration file and writing a file without ever truncating it.
#include "settings/config_text.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include "common/file_replace.h"
#include "common/number_text.h"

namespace rubicel {
namespace {

// Cuts the next line off text; false when no line is left. A line ends at CR LF,
// LF or a CR alone; the last line may have no end at all.
bool nextLine(std::string_view& text, std::string_view& line) {
    if (text.empty()) return false;
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        line = text;
        text = {};
        return true;
    }
    line = text.substr(0, end);
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    text.remove_prefix(next);
    return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string errorText(const char* what, int error) {
    return std::string(what) + ": " + std::strerror(error);
}

}  // namespace

std::string formatConfig(std::string_view datafolder, std::int16_t scheme, std::int16_t mode) {
    std::string text(datafolder);
    text += "\r\n";
    text += signedText(static_cast<long long>(scheme));
    text += " \r\n";
    text += signedText(static_cast<long long>(mode));
    text += " \r\n";
    return text;
}

std::optional<std::int16_t> parseWholeNumber(std::string_view line) {
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    // from_chars takes a minus sign but not a plus sign; a plus must precede a digit.
    if (!line.empty() && line.front() == '+') {
        line.remove_prefix(1);
        if (line.empty() || line.front() < '0' || line.front() > '9') return std::nullopt;
    }
    std::int16_t value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() || end != line.data() + line.size()) return std::nullopt;
    return value;
}

ConfigFields parseConfig(std::string_view text) {
    ConfigFields fields;
    std::string_view line;
    if (!nextLine(text, line)) return fields;
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    fields.datafolder = std::string(line);
    if (!nextLine(text, line) || !(fields.scheme = parseWholeNumber(line))) return fields;
    if (!nextLine(text, line)) return fields;
    fields.mode = parseWholeNumber(line);
    return fields;
}

std::int16_t usableScheme(std::int16_t scheme) {
    return scheme >= 0 && scheme <= 9 && scheme != 6 ? scheme : 0;
}

std::int16_t usableMode(std::int16_t mode) { return mode >= 0 && mode <= 3 ? mode : 0; }

std::optional<std::string> writeFileReplacing(const std::string& path, std::string_view bytes) {
    const auto failure =
        replaceFile(path, [bytes](int fd) { return writeAll(fd, bytes.data(), bytes.size()); }, LinkAtPath::Follow,
                    Writes::InOrder, NoReader::Refuse);
    if (!failure) return std::nullopt;
    static constexpr const char* kWhat[] = {"cannot create a file in its folder", "cannot write the new contents",
                                            "cannot replace the old file",
                                            "it is a link whose target cannot be found",
                                            "it is a folder, a socket, a block device or a pipe nobody reads"};
    return errorText(kWhat[failure->stage], failure->error);
}

}  // namespace rubicel
