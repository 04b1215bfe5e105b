// SPDX-License-Identifier: MIT
// fuzz_support.cpp: what the fuzz targets share: a scratch folder and a checked expectation.
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace rubicel::fuzz {
namespace {

std::filesystem::path makeScratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rubicel-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("rubicel fuzz: cannot make a scratch folder");
        std::abort();
    }
    return pattern;
}

}  // namespace

const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = makeScratch();
    static const bool cleanup = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)cleanup;
    return folder;
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    expect(bool(out), "the scratch file is written");
}

void expect(bool ok, std::string_view what) {
    if (ok) return;
    std::fprintf(stderr, "rubicel fuzz: expectation failed: %.*s\n", int(what.size()), what.data());
    std::abort();
}

}  // namespace rubicel::fuzz
