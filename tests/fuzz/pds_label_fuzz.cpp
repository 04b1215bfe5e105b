// SPDX-License-Identifier: MIT
// pds_label_fuzz.cpp: any bytes as a tile's detached label, the one text the programs take
// from the network: read, checked against every tile, and as the tail of a genuine label.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fetch/pds_label.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rubicel::fetch;
    namespace fuzz = rubicel::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    if (const auto label = PdsLabel::parse(text)) {
        for (const TileProduct& tile : kTileProducts)
            for (const std::string& problem : checkLabel(*label, tile))
                fuzz::expect(!problem.empty(), "every problem is a sentence");
        (void)label->value("IMAGE", "LINES");
        (void)label->value("", "^IMAGE");
    }

    // Whatever follows END is not the label's: a genuine label stays right for its tile.
    const TileProduct& tile = kTileProducts[size % kTileProducts.size()];
    const auto genuine = PdsLabel::parse(megdrLabelText(tile) + std::string(text));
    fuzz::expect(genuine.has_value(), "a genuine label with anything after its END is a label");
    fuzz::expect(checkLabel(*genuine, tile).empty(), "a genuine label with anything after its END describes its tile");
    return 0;
}
