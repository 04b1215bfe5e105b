// SPDX-License-Identifier: MIT
// data_path.cpp: where the programs find the files shipped beside them (help file, demo grid).
#include "common/data_path.h"

#include <algorithm>
#include <system_error>

namespace rubicel {

namespace fs = std::filesystem;

fs::path executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path();
}

std::vector<fs::path> dataFolders(const fs::path& programFolder, const fs::path& buildFolder) {
    std::vector<fs::path> folders;
    auto add = [&folders](const fs::path& folder) {
        if (folder.empty()) return;
        fs::path normal = folder.lexically_normal();
        // "a/b/" and "a/b" are one folder.
        if (!normal.has_filename() && normal.has_parent_path()) normal = normal.parent_path();
        if (std::find(folders.begin(), folders.end(), normal) == folders.end()) folders.push_back(normal);
    };
    add(programFolder);
    if (!programFolder.empty()) add(programFolder / ".." / "share" / "rubicel");
    add(buildFolder);
    return folders;
}

std::vector<fs::path> dataFolders() {
#ifdef RUBICEL_BUILD_DATA_DIR
    const fs::path buildFolder = RUBICEL_BUILD_DATA_DIR;
#else
    const fs::path buildFolder;
#endif
    return dataFolders(executableFolder(), buildFolder);
}

fs::path findDataFile(std::string_view name, const std::vector<fs::path>& folders) {
    if (name.empty()) return {};
    for (const fs::path& folder : folders) {
        const fs::path candidate = folder / name;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return candidate;
    }
    return {};
}

fs::path dataPath(std::string_view name) { return findDataFile(name, dataFolders()); }

}  // namespace rubicel
