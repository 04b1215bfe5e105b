// SPDX-License-Identifier: MIT
// file_bytes.h: a file's whole contents, read and written as bytes.
#pragma once

#include <filesystem>
#include <string>

namespace rubicel::test {

// The file's bytes; empty when it cannot be read.
std::string readAll(const std::filesystem::path& path);
// Creates or replaces the file with exactly these bytes.
void writeBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace rubicel::test
