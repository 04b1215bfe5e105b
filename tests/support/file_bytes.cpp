// SPDX-License-Identifier: MIT
// file_bytes.cpp: a file's whole contents, read and written as bytes.
#include "support/file_bytes.h"

#include <fstream>
#include <sstream>

namespace rubicel::test {

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace rubicel::test
