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
    // Link: the path is a symbolic link whose target cannot be worked out.
    enum Stage { Create, Write, Replace, Link } stage;
    int error;
};

// What becomes of a symbolic link at the path being replaced: Follow replaces
// the file it points at; Replace puts the new file in the link's place and leaves
// whatever it pointed at alone.
enum class LinkAtPath { Follow, Replace };

// Writes the new contents to a hidden file with a short name beside path (write
// returns false with errno set when it fails), flushes it to disk and renames it
// over path, so the old file stays whole if anything fails and no partial file is
// left behind. Any name the folder takes can be written. The new file gets the
// old file's permissions, or the usual ones under the file-creation mask.
[[nodiscard]] std::optional<ReplaceFailure> replaceFile(const std::string& path,
                                                        const std::function<bool(int fd)>& write,
                                                        LinkAtPath links = LinkAtPath::Follow);

// Writes all of size bytes to fd, going on after partial writes and interruptions.
bool writeAll(int fd, const void* data, std::size_t size);

}  // namespace rubicel
