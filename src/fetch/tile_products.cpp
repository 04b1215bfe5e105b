// SPDX-License-Identifier: MIT
// tile_products.cpp: names of the tile products and their labels.
#include "fetch/tile_products.h"

#include <cctype>

namespace rubicel::fetch {

std::string labelName(const TileProduct& tile) {
    std::string name = tile.name;
    return name.substr(0, name.size() - 4) + ".lbl";
}

std::string upperCase(std::string name) {
    for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::string groupedDigits(std::uintmax_t n) {
    std::string digits = std::to_string(n);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(std::size_t(at), ",");
    return digits;
}

}  // namespace rubicel::fetch
