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

// The build writes a note of this name beside each program it makes, naming the
// build tree's folders of shipped files and of modules. Installing copies the
// programs and not the note, so an installed program carries no path of the
// build tree and never looks there: only a program left in the build tree does.
inline constexpr const char* kBuildTreeNoteName = "rubicel-build-tree.txt";

// The folders the note names: lines "data=FOLDER" and "modules=FOLDER", each
// an absolute path. Empty where there is no note, no such line or no absolute path.
struct BuildTreeFolders {
    std::filesystem::path data;
    std::filesystem::path modules;
};
BuildTreeFolders buildTreeFolders(const std::filesystem::path& programFolder);

// Returns the folders a shipped file is looked for in, in this order, each once:
// the program's own folder, ../share/rubicel beside it (the installed layout,
// bin/ next to share/), and the build tree's share/rubicel. Empty inputs are left out.
std::vector<std::filesystem::path> dataFolders(const std::filesystem::path& programFolder,
                                               const std::filesystem::path& buildFolder);

// dataFolders() for this program, with the build tree's folder from its note.
std::vector<std::filesystem::path> dataFolders();

// Returns the folders a loadable module of the programs is looked for in, in
// this order, each once: the program's own folder, installed below it
// (programFolder/installed, bin/../lib/rubicel in the installed layout), and the
// build tree's module folder. Empty inputs are left out.
std::vector<std::filesystem::path> moduleFolders(const std::filesystem::path& programFolder,
                                                 const std::filesystem::path& installed,
                                                 const std::filesystem::path& buildFolder);

// moduleFolders() for this program, with the build tree's folder from its note.
std::vector<std::filesystem::path> moduleFolders();

// Returns folder/name for the first folder in which name is an ordinary file (or a
// link to one); an empty path when none holds it.
std::filesystem::path findDataFile(std::string_view name,
                                   const std::vector<std::filesystem::path>& folders);

// findDataFile(name, dataFolders()).
std::filesystem::path dataPath(std::string_view name);

}  // namespace rubicel
