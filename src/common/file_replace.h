// SPDX-License-Identifier: MIT
// file_replace.h: replacing a file whole or not at all (temporary file, flush, rename).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rubicel {

// What went wrong while replacing a file, and the system's error number.
struct ReplaceFailure {
    enum Stage { Create, Write, Replace } stage;
    int error;
};

// Writes the new contents to a hidden file beside path (write returns false with
// errno set when it fails), flushes it to disk and renames it over path, so the
// old file stays whole if anything fails and no partial file is left behind. A
// symbolic link at path is followed. The new file gets the old file's permissions,
// or the usual ones under the file-creation mask.
[[nodiscard]] std::optional<ReplaceFailure> replaceFile(const std::string& path,
                                                        const std::function<bool(int fd)>& write);

// Writes all of size bytes to fd, going on after partial writes and interruptions.
bool writeAll(int fd, const void* data, std::size_t size);

}  // namespace rubicel
