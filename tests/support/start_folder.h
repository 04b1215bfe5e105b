// SPDX-License-Identifier: MIT
// start_folder.h: a scratch working folder for start-up tests, with tiles and a configuration file.
#pragma once

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace rubicel::test {

// Makes a fresh scratch folder the working folder for its lifetime, as the
// program's start-up folder; the earlier working folder is restored after.
class StartFolder {
public:
    StartFolder();
    ~StartFolder();
    StartFolder(const StartFolder&) = delete;
    StartFolder& operator=(const StartFolder&) = delete;

    const std::filesystem::path& path() const { return dir_.path(); }
    // The tile folder inside it, without a trailing '/'.
    std::string tileFolder() const;
    std::filesystem::path configPath() const;
    // Writes the three-line configuration file: folder, scheme and mode.
    void writeConfiguration(const std::string& folder, int scheme, int mode) const;
    // Creates `count` of the four sparse tiles in the tile folder (the first
    // ones by name) and a configuration naming the folder.
    void prepare(int count = 4, int scheme = 0, int mode = 0) const;
    // The configuration file as it is on disk.
    std::string configuration() const;

private:
    TempDir dir_;
    std::filesystem::path previous_;
};

}  // namespace rubicel::test
