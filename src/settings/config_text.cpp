// SPDX-License-Identifier: MIT
// config_text.cpp: the text of the configuration file and writing a file without ever truncating it.
#include "settings/config_text.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Writes all of bytes to fd, going on after partial writes and interruptions.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

// The permissions a newly made file gets: those of the file it replaces, or the
// usual ones under the process's file-creation mask.
mode_t newFileMode(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    const std::string targetText = target.string();

    // The new text goes to a file of its own beside the old one...
    std::string temporary = targetText + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return errorText("cannot create a file in its folder", errno);
    const auto fail = [&](const char* what) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return errorText(what, error);
    };
    if (::fchmod(fd, newFileMode(targetText)) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const std::string message = fail("cannot write the new contents");
        ::close(fd);
        return message;
    }
    if (::close(fd) != 0) return fail("cannot write the new contents");

    // ...and takes the old one's place in one step once it is safely on disk.
    if (::rename(temporary.c_str(), targetText.c_str()) != 0) return fail("cannot replace the old file");

    // Make the rename itself durable; the file is already in place if this fails.
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

}  // namespace rubicel
