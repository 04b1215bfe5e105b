// SPDX-License-Identifier: MIT
// tile_products.h: the four 64 pixels-per-degree tile products as the archive publishes them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace rubicel::fetch {

// One tile product: its file name as the program expects it and the limits its
// label gives, in degrees (longitudes east, 0 to 360 as the archive writes them).
struct TileProduct {
    const char* name;  // lower case, ".img"
    int north, south, west, east;
};

// In the order of their sorted names, the tile index of the renderers.
inline constexpr std::array<TileProduct, 4> kTileProducts = {{
    {"megt00n000gb.img", 0, -90, 0, 180},
    {"megt00n180gb.img", 0, -90, 180, 360},
    {"megt90n000gb.img", 90, 0, 0, 180},
    {"megt90n180gb.img", 90, 0, 180, 360},
}};

inline constexpr std::uintmax_t kTileBytes = 132'710'400;  // 5760 records of 23040 bytes

// Where the archive keeps them; a mirror or a local copy is given instead with --base-url.
inline constexpr const char* kDefaultBaseUrl =
    "https://pds-geosciences.wustl.edu/mgs/mgs-m-mola-5-megdr-l3-v1/mgsl_300x/meg064/";

// The detached label of a tile: the same name ending in ".lbl".
std::string labelName(const TileProduct& tile);

// The name in upper case, the other spelling archives use.
std::string upperCase(std::string name);

// Groups of three digits: 132,710,400.
std::string groupedDigits(std::uintmax_t n);

}  // namespace rubicel::fetch
