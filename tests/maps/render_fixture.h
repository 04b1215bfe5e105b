// SPDX-License-Identifier: MIT
// render_fixture.h: four sparse tiles with known samples, a program pointed at them, and reference colours.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "colour/colour_engine.h"
#include "platform/headless/headless_platform.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "windows/program.h"

namespace rubicel::test {

class RenderFixture : public ::testing::Test {
protected:
    RenderFixture() {
        p.map.datafolder = dir.folder();
        p.File1.assign(kTileNames.begin(), kTileNames.end());
        initbands(p.colour);
        p.colour.scheme = 0;
        p.colour.mode = 1;
    }

    // The sample the tests write at column c of record k of tile t. Each tile has
    // its own range, none holding the 0 of the records left unwritten, so a read
    // of the wrong tile or record shows; records and columns shift the value a little.
    static std::int16_t elevation(int t, int record, int c) {
        return std::int16_t(-7000 + 4000 * t + (record % 13) * 60 + c / 64);
    }

    void writeRecords(int t, std::initializer_list<int> records) {
        for (int k : records) writeRecord(tiles[std::size_t(t)], k, [t, k](int c) { return elevation(t, k, c); });
    }

    // The pixel a call of the colour engine gives elevation alt under the
    // program's present colour state.
    std::uint32_t colourOf(std::int16_t alt) {
        ref.colour = p.colour;
        Setcolours(ref, ref.colour.scheme, alt);
        return packRgb(ref.colour.R, ref.colour.G, ref.colour.B);
    }

    // Checks that pixel (x, y) shows column c of record k of tile t.
    void expectPixel(int x, int y, int t, int record, int c) {
        ASSERT_LT(x, p.dmap.image.width());
        ASSERT_LT(y, p.dmap.image.height());
        EXPECT_EQ(p.dmap.image.pixel(x, y), colourOf(elevation(t, record, c)))
            << "pixel " << x << "," << y << " should show tile " << t << " record " << record << " column " << c;
    }

    bool anyFileOpen() const { return p.files[0].isOpen() || p.files[1].isOpen(); }

    TempDir dir;
    std::array<std::filesystem::path, 4> tiles = makeSparseTileSet(dir.path());
    HeadlessPlatform ui;
    Program p{ui};
    HeadlessPlatform refUi;
    Program ref{refUi};
};

}  // namespace rubicel::test
