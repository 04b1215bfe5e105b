// SPDX-License-Identifier: MIT
// chm_file_test.cpp: a damaged help file is refused with the reason before chmlib acts on its sizes.
#include "desktop/chm_file.h"

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

void put(Bytes& b, std::size_t at, int n, std::uint64_t v) {
    for (int i = 0; i < n; ++i) b[at + i] = char(v >> (8 * i));
}

// Places in the help file as chmcmd writes it: three directory chunks of 4 KiB,
// two leaves and the index (the root) after them; the LZX control data; the
// reset table (version 2, its block count, 8 bytes an entry, entries at 0x28).
std::size_t chunk(const Bytes& b, int n) { return b.find("ITSP") + 0x54 + 0x1000 * std::size_t(n); }
std::size_t controlData(const Bytes& b) { return b.find("LZXC") - 4; }
std::size_t resetTable(const Bytes& b) { return b.find(Bytes("\x08\0\0\0\x28\0\0\0", 8)) - 8; }

TEST(ChmFile, DamagedFilesAreRefusedWithTheReason) {
    std::ifstream in(RUBICEL_INDEXED_HELP_FILE, std::ios::binary);
    const Bytes good{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(good.substr(chunk(good, 2), 4), "PMGI");

    const struct {
        const char* name;
        std::function<void(Bytes&)> damage;
        const char* problem;  // "" when the file opens
        bool pageShown = true;  // when it opens
    } cases[] = {
        {"as written", [](Bytes&) {}, ""},
        {"not a help file", [](Bytes& b) { b = "<html></html>"; }, "it is not a compiled help file"},
        {"cut short", [](Bytes& b) { b.resize(0x1000); }, "its directory runs past the end of the file"},
        {"directory chunks of 4 GB", [](Bytes& b) { put(b, b.find("ITSP") + 0x10, 4, 0xFFFFFFFF); },
         "its directory chunks are said to be 4294967295 bytes"},
        {"an entry running past its chunk", [](Bytes& b) { put(b, chunk(b, 0) + 4, 4, 0); },
         "its directory is damaged"},
        {"an index leading to itself", [](Bytes& b) { b[chunk(b, 2) + 10] = 2; }, "its directory is damaged"},
        {"a window the decompressor does not take", [](Bytes& b) { put(b, controlData(b) + 0x10, 4, 0); },
         "its compression tables are damaged"},
        {"compressed blocks of 4 GB", [](Bytes& b) { put(b, resetTable(b) + 0x20, 8, 0xFFFFFFFF); },
         "its compression tables are damaged"},
        // chmlib would take the blocks' places from past the end of the table.
        {"blocks the table does not describe", [](Bytes& b) { put(b, resetTable(b) + 4, 4, 0); }, "", false},
        {"a block longer than its buffer", [](Bytes& b) { put(b, resetTable(b) + 0x18, 8, 1u << 20); },
         "its compression tables are damaged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = good;
        c.damage(bytes);
        test::TempDir dir;
        std::ofstream(dir / "help.chm", std::ios::binary) << bytes;
        const ChmFile help((dir / "help.chm").string());
        EXPECT_EQ(help.problem(), c.problem);
        EXPECT_EQ(help.isOpen(), !*c.problem);
        const ChmObject page = help.read("/b.html");
        EXPECT_EQ(std::string(page.bytes.begin(), page.bytes.end()).find("Second page.") != std::string::npos,
                  !*c.problem && c.pageShown);
    }
}

}  // namespace
}  // namespace rubicel
