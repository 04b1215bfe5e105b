// SPDX-License-Identifier: MIT
// data_path.h: where the programs find the files shipped beside them (help file, demo grid, modules).
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace rubicel {

// Returns the folder of the running program (from /proc/self/exe), or an empty
// path when it cannot be read.
std::filesystem::path executableFolder();

// Returns the folders a shipped file is looked for in, in this order, each once:
// the program's own folder, ../share/rubicel beside it (the installed layout,
// bin/ next to share/), and the build tree's share/rubicel. Empty inputs are left out.
std::vector<std::filesystem::path> dataFolders(const std::filesystem::path& programFolder,
                                               const std::filesystem::path& buildFolder);

// dataFolders() for this program and the build tree it was built in.
std::vector<std::filesystem::path> dataFolders();

// Returns the folders a loadable module of the programs is looked for in, in
// this order, each once: the program's own folder, installed below it
// (programFolder/installed, bin/../lib/rubicel in the installed layout), and the
// build tree's module folder. Empty inputs are left out.
std::vector<std::filesystem::path> moduleFolders(const std::filesystem::path& programFolder,
                                                 const std::filesystem::path& installed,
                                                 const std::filesystem::path& buildFolder);

// moduleFolders() for this program and the build tree it was built in.
std::vector<std::filesystem::path> moduleFolders();

// Returns folder/name for the first folder in which name is an ordinary file (or a
// link to one); an empty path when none holds it.
std::filesystem::path findDataFile(std::string_view name,
                                   const std::vector<std::filesystem::path>& folders);

// findDataFile(name, dataFolders()).
std::filesystem::path dataPath(std::string_view name);

}  // namespace rubicel
