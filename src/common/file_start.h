// SPDX-License-Identifier: MIT
// file_start.h: the first bytes of a small text file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace rubicel {

// Reads at most limit + 1 bytes from the start of the file at path, so that a
// caller can tell a file longer than limit; nothing when the file cannot be
// opened or read. Opened non-blocking, so that a pipe in the file's place
// cannot hang the caller.
std::optional<std::string> readFileStart(const std::string& path, std::size_t limit);

}  // namespace rubicel
