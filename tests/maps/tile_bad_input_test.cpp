// SPDX-License-Identifier: MIT
// tile_bad_input_test.cpp: tile folders and tile files that are not what they should be:
// the start-up check counts them, both renderers fail with a message, and the next
// drawing from good tiles works again.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "common/number_text.h"
#include "maps/area_renderer.h"
#include "maps/polar_renderer.h"
#include "maps/tile_renderer.h"
#include "render_fixture.h"
#include "support/unprivileged.h"
#include "windows/config_file.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

// What a tile can have become since the start-up check listed it. Returns false
// when the case cannot be arranged on this machine.
using Spoil = std::function<bool(const fs::path& tile)>;

struct BadTile {
    const char* name;
    Spoil spoil;
    const char* description;  // what the message says after the routine's name
    int failingRow;           // map row of the area map whose read fails
    bool unprivileged = false;  // arranged by permissions, which must bind
};

void PrintTo(const BadTile& c, std::ostream* os) { *os << c.name; }

// Cuts or extends the tile, keeping the records written before.
bool sized(const fs::path& tile, std::uintmax_t bytes) {
    fs::resize_file(tile, bytes);
    return true;
}

class BadTileFile : public test::RenderFixture, public testing::WithParamInterface<BadTile> {
protected:
    // The box 10..30 E, 40..20 N lies in tile 2 alone: records 3201 to 4481, every 4th.
    void drawArea() {
        p.map.areaclass = kAreaMap;
        p.map.mapsource = kFromArea;
        p.map.resolution = 4;
        mapfromtile(p, 10, 40, 30, 20);
    }
    void drawTile() {
        p.map.areaclass = kSingleTile;
        p.map.mapsource = kFromTile;
        p.map.tilefile = tiles[2].string();
        p.map.resolution = 24;
        Drawtile(p);
    }
    void expectOneFailure(const std::string& routine, const BadTile& c) {
        ASSERT_EQ(ui.messages.size(), 1u);
        const std::string& text = ui.messages[0].text;
        EXPECT_TRUE(text.starts_with(routine + c.description)) << text;
        EXPECT_NE(text.find(tiles[2].string()), std::string::npos) << "the message names the tile: " << text;
        EXPECT_FALSE(anyFileOpen());
        ui.messages.clear();
    }
    void restoreTile() {
        fs::remove_all(tiles[2]);
        test::makeSparseTile(tiles[2]);
        writeRecords(2, {3201});
    }
};

TEST_P(BadTileFile, BothRenderersFailWithTheirMessageAndRecover) {
    const BadTile& c = GetParam();
    writeRecords(2, {3201});
    if (!c.spoil(tiles[2])) GTEST_SKIP() << "cannot be arranged here";
    std::unique_ptr<test::Unprivileged> unprivileged;
    if (c.unprivileged) {
        test::openToOthers(dir.path());
        unprivileged = std::make_unique<test::Unprivileged>();
        if (!unprivileged->permissionsBind()) GTEST_SKIP() << "permission bits do not bind here";
    }

    drawArea();
    const std::string row = "  Y=" + signedText(static_cast<long long>(c.failingRow)) + "  R=";
    EXPECT_NE(ui.messages.at(0).text.find(row), std::string::npos) << ui.messages[0].text;
    expectOneFailure("Module 'MapfromTile' - ", c);
    if (c.failingRow > 0) {
        EXPECT_EQ(p.dmap.image.pixel(0, 0), colourOf(elevation(2, 3201, 640))) << "rows drawn before stay";
    }

    drawTile();
    expectOneFailure("Module 'Drawtile' - ", c);

    unprivileged.reset();
    restoreTile();
    drawArea();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{10, 40, 30, 20}));
    expectPixel(0, 0, 2, 3201, 640);
    drawTile();
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, BadTileFile,
    testing::Values(
        BadTile{"a_folder",
                [](const fs::path& t) {
                    fs::remove(t);
                    return fs::create_directory(t);
                },
                "Path/File access error", 0},
        BadTile{"a_named_pipe",
                [](const fs::path& t) {
                    fs::remove(t);
                    return ::mkfifo(t.c_str(), 0600) == 0;
                },
                "Path/File access error", 0},
        BadTile{"empty", [](const fs::path& t) { return sized(t, 0); }, "Input past end of file", 0},
        BadTile{"ends_one_byte_into_the_first_record_drawn",
                [](const fs::path& t) { return sized(t, 3200ull * 23040 + 1); }, "Input past end of file", 0},
        BadTile{"ends_inside_a_later_record", [](const fs::path& t) { return sized(t, 3300ull * 23040 + 7); },
                "Input past end of file", 25},
        BadTile{"unreadable",
                [](const fs::path& t) {
                    fs::permissions(t, fs::perms::none);
                    return true;
                },
                "Path/File access error", 0, true},
        // A file whose reads fail although it opens: the address space of this
        // process, where the low offsets a tile reads are never mapped.
        BadTile{"reads_fail",
                [](const fs::path& t) {
                    fs::remove(t);
                    fs::create_symlink("/proc/self/mem", t);
                    return ::access(t.c_str(), R_OK) == 0;
                },
                "Device I/O error", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A tile cut short while a map is drawn from it, at the third row's yield:
// every renderer ends with its message naming the tile, the process goes on,
// and the next map from a whole tile draws. The polar map reads its records
// mapped into memory, where the cut is a fault rather than a short read.
TEST_F(BadTileFile, ATileCutShortDuringTheDrawingFailsItsRenderer) {
    const struct {
        const char* routine;
        std::function<void()> draw;
    } renderers[] = {
        {"Module 'MapfromTile' - ", [this] { drawArea(); }},
        {"Module 'Drawtile' - ", [this] { drawTile(); }},
        {"Module 'Drawpolar' - ",
         [this] {
             p.map.areaclass = kPolarMap;
             p.map.mapsource = kFromPolar;
             p.map.polarpole = 1;
             p.map.polarlimit = 60;
             p.map.resolution = 8;
             Drawpolar(p);
         }},
    };
    const BadTile cut{"cut", nullptr, "Input past end of file", 0};
    for (const auto& r : renderers) {
        SCOPED_TRACE(r.routine);
        restoreTile();
        ui.onYield = [this, start = ui.yields](int yields) {
            if (yields == start + 3) sized(tiles[2], 0);
        };
        r.draw();
        ui.onYield = nullptr;
        expectOneFailure(r.routine, cut);
        restoreTile();
        r.draw();
        EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    }
}

// The tile list as the start-up check leaves it, then a whole-tile and an area map.
struct TileFolder {
    const char* name;
    std::vector<std::string> names;  // files made in the folder
    std::size_t listed;              // tiles listed by the check
    bool mapArea;                    // Map Area enabled afterwards
};

void PrintTo(const TileFolder& c, std::ostream* os) { *os << c.name; }

class TileFolders : public testing::TestWithParam<TileFolder> {};

TEST_P(TileFolders, TheCheckCountsThemAndMapsDrawFromWhatItListed) {
    const TileFolder& c = GetParam();
    test::TempDir start, data;
    for (const std::string& name : c.names) test::makeSparseTile(data / name);
    std::ofstream(start / kConfigFileName, std::ios::binary) << data.path().string() << "\r\n 0 \r\n 1 \r\n";

    HeadlessPlatform ui;
    Program p{ui};
    p.map.startfolder = start.path().string();
    fload(p);
    ASSERT_EQ(p.File1.size(), c.listed);
    EXPECT_EQ(ui.enabled(MenuControl::m_area), c.mapArea);
    EXPECT_EQ(ui.messages.size(), c.mapArea ? 0u : 1u);
    if (!c.mapArea) return;

    // The north-western tile is the last of the list, whatever the case of its name.
    test::writeRecord(data / p.File1[3], 1, [](int) { return std::int16_t(1000); });
    p.map.tilefile = p.map.datafolder + p.File1[3];
    p.map.resolution = 24;
    Drawtile(p);
    mapfromtile(p, -170, 90, -150, 80);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{-170, 90, -150, 80}));
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, TileFolders,
    testing::Values(
        TileFolder{"three", {"megt00n000gb.img", "megt00n180gb.img", "megt90n000gb.img"}, 3, false},
        TileFolder{"four", {"megt00n000gb.img", "megt00n180gb.img", "megt90n000gb.img", "megt90n180gb.img"}, 4,
                   true},
        TileFolder{"five",
                   {"megt00n000gb.img", "megt00n180gb.img", "megt90n000gb.img", "megt90n180gb.img",
                    "megt90n180gb.lbl"},
                   5, false},
        TileFolder{"upper_case_names",
                   {"MEGT00N000GB.IMG", "MEGT00N180GB.IMG", "MEGT90N000GB.IMG", "MEGT90N180GB.IMG"}, 4, true},
        TileFolder{"mixed_case_names",
                   {"megt00n000gb.img", "MEGT00N180GB.IMG", "Megt90n000gb.img", "megt90N180GB.img"}, 4, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rubicel
