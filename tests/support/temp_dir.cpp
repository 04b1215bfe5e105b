// SPDX-License-Identifier: MIT
// temp_dir.cpp: a scratch folder that lives as long as a test.
#include "support/temp_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace rubicel::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rubicel-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace rubicel::test
