// SPDX-License-Identifier: MIT
// chm_file_test.cpp: a damaged help file is refused with the reason before chmlib acts on its sizes.
#include "desktop/chm_file.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace rubicel {
namespace {

using Bytes = std::string;

std::uint64_t le(const Bytes& b, std::size_t at, int n) {
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | std::uint8_t(b[at + i]);
    return v;
}
void put(Bytes& b, std::size_t at, int n, std::uint64_t v) {
    for (int i = 0; i < n; ++i) b[at + i] = char(v >> (8 * i));
}

// Places in a help file as chmcmd writes it: the directory header, its first
// chunk, the LZX control data and the reset table.
std::size_t directoryHeader(const Bytes& b) { return std::size_t(le(b, 0x48, 8)); }
std::size_t firstChunk(const Bytes& b) { return directoryHeader(b) + 0x54; }
std::size_t controlData(const Bytes& b) { return b.find("LZXC") - 4; }
std::size_t resetTable(const Bytes& b) {
    // Version 2, then at 12 the table's offset, the header's own length 0x28.
    for (std::size_t at = 0; at + 0x28 <= b.size(); ++at)
        if (le(b, at, 4) == 2 && le(b, at + 12, 4) == 0x28 && le(b, at + 0x20, 8) == 0x8000) return at;
    return Bytes::npos;
}

TEST(ChmFile, DamagedSizesAndPlacesAreRefusedWithTheReason) {
    std::ifstream in(RUBICEL_SMALL_HELP_FILE, std::ios::binary);
    const Bytes good{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(good.size(), 4096u);
    ASSERT_EQ(good.substr(0, 4), "ITSF");
    ASSERT_NE(resetTable(good), Bytes::npos);

    const struct {
        const char* name;
        std::function<void(Bytes&)> damage;
        const char* problem;  // "" when the file opens
        ChmObject::Status page = ChmObject::Found;  // of /b.html, when the file opens
    } cases[] = {
        {"as written", [](Bytes&) {}, ""},
        // Without its compression tables chmlib reads nothing compressed; the check
        // leaves it no compressed content to read either.
        {"compressed section cut off", [](Bytes& b) { b.resize(resetTable(b)); }, "", ChmObject::Damaged},
        {"directory chunks of 4 GB", [](Bytes& b) { put(b, directoryHeader(b) + 0x10, 4, 0xFFFFFFFF); },
         "its directory chunks are said to be 4294967295 bytes"},
        {"directory chunks shorter than their header", [](Bytes& b) { put(b, directoryHeader(b) + 0x10, 4, 16); },
         "its directory chunks are said to be 16 bytes"},
        {"directory longer than the file", [](Bytes& b) { put(b, 0x50, 8, b.size()); },
         "its directory runs past the end of the file"},
        {"first chunk past the directory", [](Bytes& b) { put(b, directoryHeader(b) + 0x20, 4, 7); },
         "its directory starts outside itself"},
        {"more free space than the chunk", [](Bytes& b) { put(b, firstChunk(b) + 4, 4, 0x1000); },
         "a directory chunk says more of it is free than it holds"},
        {"an entry running past its chunk", [](Bytes& b) { put(b, firstChunk(b) + 4, 4, 0x1000 - 0x15); },
         "an entry of the directory runs past its chunk"},
        {"no resets of the decompressor", [](Bytes& b) { put(b, controlData(b) + 0x14, 4, 0); },
         "its compression settings are damaged"},
        {"a window the decompressor does not take", [](Bytes& b) { put(b, controlData(b) + 0x10, 4, 0x80); },
         "its compression settings are damaged"},
        {"compressed blocks of 4 GB", [](Bytes& b) { put(b, resetTable(b) + 0x20, 8, 0xFFFFFFFF); },
         "its compressed blocks are said to be 4294967295 bytes"},
        {"a block longer than its buffer", [](Bytes& b) { put(b, resetTable(b) + 0x18, 8, 1u << 20); },
         "its table of compressed blocks is damaged"},
        {"a block table past the end", [](Bytes& b) { put(b, resetTable(b) + 12, 4, 0xFFFFFF00); },
         "its table of compressed blocks runs past the end of the file"},
        {"cut short", [](Bytes& b) { b.resize(0x1000); }, "its directory runs past the end of the file"},
        {"not a help file", [](Bytes& b) { b = "<html></html>"; }, "it is not a compiled help file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = good;
        c.damage(bytes);
        test::TempDir dir;
        std::ofstream(dir / "help.chm", std::ios::binary) << bytes;
        const ChmFile help((dir / "help.chm").string());
        if (*c.problem) {
            EXPECT_FALSE(help.isOpen());
            EXPECT_NE(help.problem().find(c.problem), std::string::npos) << help.problem();
            continue;
        }
        ASSERT_TRUE(help.isOpen()) << help.problem();
        const ChmObject page = help.read("/b.html");
        EXPECT_EQ(page.status, c.page);
        if (c.page != ChmObject::Found) continue;
        EXPECT_EQ(help.defaultTopic(), "/index.html");
        EXPECT_NE(std::string(page.bytes.begin(), page.bytes.end()).find("Second page."), std::string::npos);
    }
}

}  // namespace
}  // namespace rubicel
