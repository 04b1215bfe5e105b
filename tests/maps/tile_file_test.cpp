// SPDX-License-Identifier: MIT
// tile_file_test.cpp: sample decoding, tile lookup, row and column positions, tile lists and record reads.
#include "maps/tile_file.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "maps/map_state.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

// The value a row buffer holds after reading the two stored bytes hi, lo.
std::int16_t asRead(unsigned char hi, unsigned char lo) {
    const unsigned char stored[2] = {hi, lo};
    std::int16_t v;
    std::memcpy(&v, stored, sizeof v);
    return v;
}

TEST(Byteswap, TurnsStoredBytesIntoElevations) {
    const struct { unsigned char hi, lo; std::int16_t value; } cases[] = {
        {0xFF, 0xFF, -1}, {0x00, 0x00, 0}, {0x7F, 0xFF, 32767}, {0x80, 0x00, -32768},
        {0xE0, 0xC0, -8000}, {0x03, 0xE8, 1000}, {0x00, 0x01, 1}, {0x01, 0x00, 256}, {0xFF, 0x7F, -129},
    };
    for (const auto& c : cases) {
        std::int16_t v = asRead(c.hi, c.lo);
        EXPECT_EQ(byteswap(v), c.value) << int(c.hi) << " " << int(c.lo);
        EXPECT_EQ(v, c.value) << "written back";
    }
}

struct Bounds {
    std::int16_t west, east, top, bottom;
};
constexpr Bounds kSE{0, 180, 0, -90}, kSW{-180, 0, 0, -90}, kNE{0, 180, 90, 0}, kNW{-180, 0, 90, 0};

TEST(FindTile, PlacesPointsAndLeavesBounds) {
    const struct { std::int16_t x, y; std::int16_t tile; Bounds bounds; } cases[] = {
        {-180, 90, 3, kNW}, {0, 90, 2, kNE}, {0, 0, 0, kSE}, {-1, 0, 1, kSW}, {179, 1, 2, kNE},
        {-1, 90, 3, kNW}, {0, 1, 2, kNE}, {179, -89, 0, kSE}, {-180, -89, 1, kSW}, {-180, 0, 1, kSW},
        {-1, 1, 3, kNW}, {179, 0, 0, kSE},
        // outside every tile: index 0 with the north-west bounds left behind
        {180, 45, 0, kNW}, {10, -90, 0, kNW}, {-181, 10, 0, kNW}, {0, 91, 0, kNW}, {-32768, 32767, 0, kNW},
    };
    for (const auto& c : cases) {
        MapState state;
        EXPECT_EQ(FindTile(state, c.x, c.y), c.tile) << c.x << ", " << c.y;
        EXPECT_EQ(state.tilewest, c.bounds.west) << c.x << ", " << c.y;
        EXPECT_EQ(state.tileeast, c.bounds.east) << c.x << ", " << c.y;
        EXPECT_EQ(state.tiletop, c.bounds.top) << c.x << ", " << c.y;
        EXPECT_EQ(state.tilebottom, c.bounds.bottom) << c.x << ", " << c.y;
    }
}

MapState stateWith(Bounds b) {
    MapState s;
    s.tilewest = b.west;
    s.tileeast = b.east;
    s.tiletop = b.top;
    s.tilebottom = b.bottom;
    return s;
}

TEST(RowPosition, SixtyFourRowsPerDegreeFromTheTop) {
    const struct { Bounds tile; double latitude; int row; } cases[] = {
        {kNW, 90, 0}, {kNW, 45, 2880}, {kNE, 0, 5760}, {kNE, -90, 11520}, {kNW, 89, 64},
        {kSE, 0, 0}, {kSE, -90, 5760}, {kSW, -45, 2880}, {kNE, 89.99, 1}, {kNE, 89.995, 0}, {kNE, 91, -64},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rowPosition(stateWith(c.tile), c.latitude), c.row) << c.latitude;
}

TEST(ColumnPosition, ScalesByTheLastColumnAndRoundsHalvesToEven) {
    const struct { Bounds tile; double longitude; int column; } cases[] = {
        {kNE, 0, 0}, {kSW, -180, 0},
        {kNE, 90, 5760},       // 5759.5
        {kSW, -90, 5760},
        {kNE, 270, 17278},     // 17278.5 goes down to the even neighbour
        {kNE, -90, -5760},     // -5759.5
        {kNE, 180, 11519}, {kNW, 0, 11519},
        {kNE, 45, 2880},       // 2879.75
        {kNE, 135, 8639},      // 8639.25
        {kNE, 1, 64},          // 63.99
        {kNE, 181, 11583},     // one degree into the neighbour
        {kNE, 30, 1920},       // 1919.83
    };
    for (const auto& c : cases)
        EXPECT_EQ(columnPosition(stateWith(c.tile), c.longitude), c.column) << c.longitude;
}

void touch(const fs::path& path) { std::ofstream(path) << "x"; }

TEST(ListTiles, OrdinaryMegtFilesSortedWithoutRegardToCase) {
    test::TempDir dir;
    for (const char* name : {"megt90n180gb.img", "MEGT00N180GB.IMG", "Megt90n000gb.img", "megt00n000gb.img",
                             "notes.txt", "amegt.img", "meg", "megt", "megtB", "megta", "megtC"})
        touch(dir / name);
    fs::create_directory(dir / "megt_folder");
    fs::create_directory(dir / "other");
    fs::create_symlink(dir / "notes.txt", dir / "megt_link");
    fs::create_symlink(dir / "other", dir / "megt_folder_link");
    fs::create_symlink(dir / "absent", dir / "megt_broken_link");

    const auto names = listTiles(dir.folder());
    ASSERT_TRUE(names.has_value());
    const std::vector<std::string> expected = {"megt", "megt00n000gb.img", "MEGT00N180GB.IMG", "Megt90n000gb.img",
                                               "megt90n180gb.img", "megt_link", "megta", "megtB", "megtC"};
    EXPECT_EQ(*names, expected);
}

TEST(ListTiles, FoldersThatCannotBeListedGiveNothing) {
    test::TempDir dir;
    touch(dir / "megtfile");
    fs::create_directory(dir / "empty");
    EXPECT_EQ(listTiles((dir / "absent").string()), std::nullopt);
    EXPECT_EQ(listTiles((dir / "megtfile").string()), std::nullopt);
    EXPECT_EQ(listTiles(""), std::nullopt);
    const auto empty = listTiles((dir / "empty").string());
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
}

TEST(TileFile, ReadsRecordsAsStored) {
    test::TempDir dir;
    const auto paths = test::makeSparseTileSet(dir.path());
    const auto first = [](int c) { return std::int16_t(c - 5000); };
    const auto last = [](int c) { return std::int16_t(-c); };
    test::writeRecord(paths[3], 1, first);
    test::writeRecord(paths[3], kTileRows, last);
    ASSERT_EQ(fs::file_size(paths[3]), std::uintmax_t(kTileRows) * kRecordBytes);

    TileFile file;
    ASSERT_EQ(file.open(paths[3].string()), std::nullopt);
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.path(), paths[3].string());
    RowBuffer row{};
    const struct { int record; std::function<std::int16_t(int)> value; } cases[] = {
        {kTileRows, last}, {1, first}, {2, [](int) { return std::int16_t(0); }},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(file.readRecord(c.record, row), std::nullopt) << c.record;
        int wrong = 0;
        for (int col = 0; col < kTileColumns; ++col) wrong += byteswap(row[col]) != c.value(col);
        EXPECT_EQ(wrong, 0) << "record " << c.record;
    }
}

struct ErrorCase {
    const char* name;
    // Builds the file to open in dir and returns its path.
    std::function<fs::path(const test::TempDir&)> make;
    int record;              // 0 with openError: the open itself fails
    const char* description; // start of the error text
    bool openFails;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class TileFileErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TileFileErrors, ReportInputErrorsNamingFileAndRecord) {
    const ErrorCase& k = GetParam();
    test::TempDir dir;
    const fs::path path = k.make(dir);
    const bool existed = fs::exists(fs::symlink_status(path));
    TileFile file;
    const auto opened = file.open(path.string());
    if (k.openFails) {
        ASSERT_TRUE(opened.has_value());
        EXPECT_EQ(opened->rfind(k.description, 0), 0u) << *opened;
        EXPECT_NE(opened->find(path.string()), std::string::npos) << *opened;
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(fs::exists(fs::symlink_status(path)), existed) << "opening creates nothing";
        return;
    }
    ASSERT_EQ(opened, std::nullopt);
    RowBuffer row{};
    const auto read = file.readRecord(k.record, row);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->rfind(k.description, 0), 0u) << *read;
    EXPECT_NE(read->find(path.string()), std::string::npos) << *read;
    EXPECT_NE(read->find("record " + std::to_string(k.record)), std::string::npos) << *read;
    EXPECT_TRUE(file.isOpen()) << "a failed read leaves the file open for the caller to close";
}

fs::path sized(const test::TempDir& dir, std::uintmax_t bytes) {
    const fs::path path = dir / "megt00n000gb.img";
    touch(path);
    fs::resize_file(path, bytes);
    return path;
}

INSTANTIATE_TEST_SUITE_P(Cases, TileFileErrors, ::testing::Values(
    ErrorCase{"missing_file", [](const test::TempDir& d) { return d / "megt00n000gb.img"; }, 0, "File not found", true},
    ErrorCase{"missing_folder", [](const test::TempDir& d) { return d / "absent" / "megt00n000gb.img"; }, 0,
              "File not found", true},
    ErrorCase{"a_folder", [](const test::TempDir& d) { fs::create_directory(d / "megt"); return d / "megt"; }, 0,
              "Path/File access error", true},
    ErrorCase{"a_named_pipe", [](const test::TempDir& d) { mkfifo((d / "megt").c_str(), 0600); return d / "megt"; },
              0, "Path/File access error", true},
    ErrorCase{"short_file", [](const test::TempDir& d) { return sized(d, 1000); }, 1, "Input past end of file", false},
    ErrorCase{"empty_file", [](const test::TempDir& d) { return sized(d, 0); }, 1, "Input past end of file", false},
    ErrorCase{"partial_last_record", [](const test::TempDir& d) { return sized(d, 2 * kRecordBytes + 100); }, 3,
              "Input past end of file", false},
    ErrorCase{"record_past_the_end", [](const test::TempDir& d) { test::makeSparseTile(d / "t.img"); return d / "t.img"; },
              kTileRows + 1, "Input past end of file", false},
    ErrorCase{"record_zero", [](const test::TempDir& d) { return sized(d, kRecordBytes); }, 0, "Bad record number", false},
    ErrorCase{"record_negative", [](const test::TempDir& d) { return sized(d, kRecordBytes); }, -3, "Bad record number",
              false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TileFile, ClosingIsIdempotentAndReadsAfterCloseFail) {
    test::TempDir dir;
    const auto paths = test::makeSparseTileSet(dir.path());
    test::writeRecord(paths[1], 7, [](int c) { return std::int16_t(c % 100); });
    TileFile file;
    file.close();
    EXPECT_FALSE(file.isOpen());
    RowBuffer row{};
    EXPECT_TRUE(file.readRecord(1, row).has_value()) << "never opened";

    ASSERT_EQ(file.open(paths[0].string()), std::nullopt);
    ASSERT_EQ(file.open(paths[1].string()), std::nullopt) << "opening again moves to the new file";
    ASSERT_EQ(file.readRecord(7, row), std::nullopt);
    EXPECT_EQ(byteswap(row[99]), 99);
    file.close();
    file.close();
    EXPECT_FALSE(file.isOpen());
    const auto afterClose = file.readRecord(7, row);
    ASSERT_TRUE(afterClose.has_value());
    EXPECT_NE(afterClose->find(paths[1].string()), std::string::npos) << *afterClose;
}

}  // namespace
}  // namespace rubicel
