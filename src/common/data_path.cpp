// SPDX-License-Identifier: MIT
// data_path.cpp: where the programs find the files shipped beside them (help file, demo grid, modules).
#include "common/data_path.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <system_error>

namespace rubicel {

namespace fs = std::filesystem;

fs::path executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path();
}

namespace {

// Adds folder to folders unless it is empty or there already.
void addFolder(std::vector<fs::path>& folders, const fs::path& folder) {
    if (folder.empty()) return;
    fs::path normal = folder.lexically_normal();
    // "a/b/" and "a/b" are one folder.
    if (!normal.has_filename() && normal.has_parent_path()) normal = normal.parent_path();
    if (std::find(folders.begin(), folders.end(), normal) == folders.end()) folders.push_back(normal);
}

}  // namespace

BuildTreeFolders buildTreeFolders(const fs::path& programFolder) {
    BuildTreeFolders folders;
    if (programFolder.empty()) return folders;
    std::ifstream note(programFolder / kBuildTreeNoteName);
    for (std::string line; std::getline(note, line);) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const fs::path folder = line.substr(eq + 1);
        if (!folder.is_absolute()) continue;
        if (key == "data") folders.data = folder;
        if (key == "modules") folders.modules = folder;
    }
    return folders;
}

std::vector<fs::path> dataFolders(const fs::path& programFolder, const fs::path& buildFolder) {
    std::vector<fs::path> folders;
    addFolder(folders, programFolder);
    if (!programFolder.empty()) addFolder(folders, programFolder / ".." / "share" / "rubicel");
    addFolder(folders, buildFolder);
    return folders;
}

std::vector<fs::path> moduleFolders(const fs::path& programFolder, const fs::path& installed,
                                    const fs::path& buildFolder) {
    std::vector<fs::path> folders;
    addFolder(folders, programFolder);
    if (!programFolder.empty() && !installed.empty()) addFolder(folders, programFolder / installed);
    addFolder(folders, buildFolder);
    return folders;
}

std::vector<fs::path> moduleFolders() {
#ifdef RUBICEL_MODULE_DIR_FROM_BIN
    const fs::path installed = RUBICEL_MODULE_DIR_FROM_BIN;
#else
    const fs::path installed = "../lib/rubicel";
#endif
    const fs::path program = executableFolder();
    return moduleFolders(program, installed, buildTreeFolders(program).modules);
}

std::vector<fs::path> dataFolders() {
    const fs::path program = executableFolder();
    return dataFolders(program, buildTreeFolders(program).data);
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
