// SPDX-License-Identifier: MIT
// fuzz_support.h: what the fuzz targets share: a scratch folder and a checked expectation.
#pragma once

#include <filesystem>
#include <string_view>

namespace rubicel::fuzz {

// A folder of this process's own, made on first use and removed at exit.
const std::filesystem::path& scratchFolder();

// Writes bytes to path, replacing what was there.
void writeFile(const std::filesystem::path& path, std::string_view bytes);

// Ends the run as a crash, so that the fuzzer keeps the input, when ok is false.
void expect(bool ok, std::string_view what);

}  // namespace rubicel::fuzz
