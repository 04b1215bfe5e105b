// SPDX-License-Identifier: MIT
// tile_verifier.h: whether a folder's tiles are whole: size, label and content, tile by tile.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fetch/content_check.h"
#include "fetch/tile_products.h"
#include "tile_builder.h"

namespace rubicel::fetch {

// Labels live in this folder below the tiles: beside them, a file whose name
// begins with "megt" would be a fifth tile to the desktop program's folder check.
inline constexpr const char* kLabelFolder = "labels";

enum class LabelState { Absent, Good, Bad };

struct TileReport {
    const TileProduct* tile = nullptr;
    std::filesystem::path path;  // the tile file; empty when there is none
    std::uintmax_t size = 0;
    LabelState label = LabelState::Absent;
    std::vector<std::string> labelProblems;
    std::optional<ContentStats> content;  // when the size was right and the file read
    std::string readError;

    // Whole: present, the right size, content as the grid's; its label good, or
    // absent when not required.
    bool good(bool labelRequired) const;
    // One line: name, size, label, content, verdict.
    std::string text(bool labelRequired) const;
};

// Reads the label file at path and checks it for tile; problems gets why not.
LabelState checkLabelFile(const std::filesystem::path& path, const TileProduct& tile,
                          std::vector<std::string>& problems);

// Checks the size of the tile file in report.path and, when it is right, its
// content against grid; fills size, content and readError.
void checkTileFile(const mktiles::Grid& grid, TileReport& report);

// The entry of folder named name, compared without regard to case; empty when none.
std::filesystem::path findEntry(const std::filesystem::path& folder, const std::string& name);

struct FolderReport {
    std::vector<TileReport> tiles;       // the four, in tile order
    std::vector<std::string> problems;   // about the folder as a whole
    bool good() const;
};

// Checks a folder of tiles however they came: each tile under its name in either
// case, its label in labels/ or beside it (an absent label is reported, not
// refused), and the folder holding exactly four files that begin with "megt".
FolderReport verifyFolder(const std::filesystem::path& folder, const mktiles::Grid& grid);

}  // namespace rubicel::fetch
