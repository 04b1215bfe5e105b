// SPDX-License-Identifier: MIT
// pds_label.h: reading the detached PDS label of a tile and checking it against the tile's name.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fetch/tile_products.h"

namespace rubicel::fetch {

// The statements of a PDS label (KEY = VALUE, OBJECT = X ... END_OBJECT = X,
// /* comments */, values running over several lines inside quotes or
// parentheses). A key is stored under the innermost object that holds it,
// "IMAGE.LINES", or alone at the top level, "RECORD_BYTES"; values lose their
// quotes and their <unit>.
class PdsLabel {
public:
    // Returns nothing when the text is not a PDS label (no KEY = VALUE before END).
    static std::optional<PdsLabel> parse(std::string_view text);

    // The value of key in object (empty: the top level), or nothing.
    std::optional<std::string> value(std::string_view object, std::string_view key) const;

private:
    std::map<std::string, std::string, std::less<>> values_;
};

// What is wrong with a label for tile, one sentence each ("RECORD_BYTES is
// 23041, not 23040"); empty when the label describes the tile.
std::vector<std::string> checkLabel(const PdsLabel& label, const TileProduct& tile);

// A label in the archive's form for tile (CR LF line ends): what the tests
// serve, and a template for anyone who has the tiles without their labels.
std::string megdrLabelText(const TileProduct& tile);

}  // namespace rubicel::fetch
