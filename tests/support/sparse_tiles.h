// SPDX-License-Identifier: MIT
// sparse_tiles.h: full-size tile files for tests, holding only the records a case reads.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace rubicel::test {

// The four tile names; their sorted order is the tile index 0..3.
inline const std::array<std::string, 4> kTileNames = {
    "megt00n000gb.img", "megt00n180gb.img", "megt90n000gb.img", "megt90n180gb.img"};

// Creates a full-size (132,710,400-byte) sparse tile file at path, all samples 0.
// An existing file is emptied first.
void makeSparseTile(const std::filesystem::path& path);

// Writes record (1-based) of the tile at path: sample c = value(c), stored big-endian.
void writeRecord(const std::filesystem::path& path, int record,
                 const std::function<std::int16_t(int)>& value);

// Creates the four sparse tiles in folder with kTileNames; returns their paths in
// tile-index order.
std::array<std::filesystem::path, 4> makeSparseTileSet(const std::filesystem::path& folder);

}  // namespace rubicel::test
