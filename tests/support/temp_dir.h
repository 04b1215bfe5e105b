// SPDX-License-Identifier: MIT
// temp_dir.h: a scratch folder that lives as long as a test.
#pragma once

#include <filesystem>
#include <string>

namespace rubicel::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // The folder with a trailing '/', as datafolder holds it.
    std::string folder() const { return path_.string() + "/"; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace rubicel::test
