// SPDX-License-Identifier: MIT
// mktiles_test.cpp: interpolation on small grids, grid loading, and a full run of rubicel-mktiles.
#include "tile_builder.h"

#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "maps/tile_file.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"

namespace rubicel::mktiles {
namespace {

namespace fs = std::filesystem;

Grid gridOf(int rows, int columns, const std::function<std::int16_t(int, int)>& value) {
    Grid g;
    g.rows = rows;
    g.columns = columns;
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j) g.heights.push_back(value(i, j));
    return g;
}

TEST(RowInterpolator, WrapsInLongitudeAndClampsAtThePoles) {
    // Cells 90 degrees wide, centred at 45, 135, 225, 315 E and at 45 N, 45 S;
    // the southern row lies 400 m above the northern one.
    const Grid grid = gridOf(2, 4, [](int i, int j) { return std::int16_t(1000 * j + 400 * i); });
    // Samples every 45 degrees from 0 E to 360 E.
    RowInterpolator rows(grid, -22.5, 1.0 / 45, 9);
    const std::vector<std::int16_t> northRow = {1500, 0, 500, 1000, 1500, 2000, 2500, 3000, 1500};
    const struct { double latitude; int above; } cases[] = {
        {89, 0}, {45, 0}, {22.5, 100}, {0, 200}, {-45, 400}, {-89, 400}, {45, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::int16_t> out(9);
        rows.row(c.latitude, out);
        std::vector<std::int16_t> expected = northRow;
        for (auto& v : expected) v = std::int16_t(v + c.above);
        EXPECT_EQ(out, expected) << "latitude " << c.latitude;
    }
}

TEST(RowInterpolator, RoundsHalvesToEven) {
    // One cell per degree; samples sit halfway between columns 2k and 2k + 1.
    const struct { std::int16_t west, east, expected; } pairs[] = {
        {1, 2, 2}, {2, 3, 2}, {-1, -2, -2}, {-2, -3, -2}, {0, 1, 0}, {-1, 0, 0},
        {32766, 32767, 32766}, {-32768, -32767, -32768}, {32767, 32767, 32767}, {7, 10, 8},
    };
    const Grid grid = gridOf(180, 360, [&](int, int j) {
        const auto& p = pairs[(j / 2) % std::size(pairs)];
        return j % 2 == 0 ? p.west : p.east;
    });
    RowInterpolator rows(grid, 0.5, 1.0, 360);
    std::vector<std::int16_t> out(360);
    rows.row(89.5, out);
    for (std::size_t k = 0; k < std::size(pairs); ++k)
        EXPECT_EQ(out[2 * k], pairs[k].expected) << pairs[k].west << " and " << pairs[k].east;
    // The last sample lies between column 359 (10 m) and column 0 (1 m): 5.5 goes to 6.
    ASSERT_EQ(grid.at(0, 359), 10);
    ASSERT_EQ(grid.at(0, 0), 1);
    EXPECT_EQ(out[359], 6);
}

void writeBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(LoadGrid, DecodesBigEndianAndRefusesOtherSizes) {
    test::TempDir dir;
    writeBytes(dir / "good", {0x00, 0x01, 0xFF, 0xFF, 0x80, 0x00, 0x7F, 0xFF, 0xE0, 0xC0, 0x03, 0xE8, 0x01, 0x00, 0xFF, 0x7F});
    writeBytes(dir / "short", {0x00, 0x01, 0xFF});
    Grid grid;
    ASSERT_EQ(loadGrid((dir / "good").string(), 2, 4, grid), std::nullopt);
    EXPECT_EQ(grid.heights, (std::vector<std::int16_t>{1, -1, -32768, 32767, -8000, 1000, 256, -129}));
    EXPECT_EQ(grid.at(1, 1), 1000);

    const struct { const char* name; const char* says; } failures[] = {
        {"short", "holds 3 bytes"}, {"absent", "cannot open"}, {"good", "holds 16 bytes"},
    };
    for (const auto& f : failures) {
        Grid other;
        const int rows = std::string(f.name) == "good" ? 720 : 2;
        const auto error = loadGrid((dir / f.name).string(), rows, 2 * rows, other);
        ASSERT_TRUE(error.has_value()) << f.name;
        EXPECT_NE(error->find(f.says), std::string::npos) << *error;
        EXPECT_NE(error->find((dir / f.name).string()), std::string::npos) << *error;
    }
}

TEST(WriteTile, LeavesNothingWhenTheFolderIsMissing) {
    test::TempDir dir;
    const Grid grid = gridOf(2, 4, [](int, int) { return std::int16_t(0); });
    const auto error = writeTile(grid, kDemoTiles[0], (dir / "absent").string());
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("absent"), std::string::npos) << *error;
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

struct ToolRun {
    int status;
    std::string out, err;
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Returns s in single quotes for the shell.
std::string quoted(const std::string& s) {
    std::string q(1, '\'');
    q += s;
    q += '\'';
    return q;
}

ToolRun runTool(const test::TempDir& scratch, const std::string& arguments) {
    const fs::path out = scratch / "stdout.txt", err = scratch / "stderr.txt";
    const std::string command =
        std::string("'") + RUBICEL_MKTILES + "' " + arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

TEST(MkTiles, RefusesBadArgumentsWithClearMessages) {
    test::TempDir dir;
    writeBytes(dir / "small.img", std::vector<unsigned char>(100));
    { std::ofstream(dir / "plain") << "x"; }
    const std::string grid = RUBICEL_MOLA_GRID;
    const std::string out = quoted((dir / "out").string());
    const struct { const char* name; std::string arguments; int status; const char* says; } cases[] = {
        {"no arguments", "", 2, "Usage: rubicel-mktiles [GRID] OUTDIR"},
        {"three arguments", quoted(grid) + ' ' + out + " extra", 2, "Usage: rubicel-mktiles [GRID] OUTDIR"},
        {"only a folder, which is a file", quoted((dir / "plain").string()), 1, "cannot make the folder"},
        {"missing grid", quoted((dir / "absent.img").string()) + ' ' + out, 1, "absent.img"},
        {"wrong grid size", quoted((dir / "small.img").string()) + ' ' + out, 1, "holds 100 bytes"},
        {"outdir is a file", quoted(grid) + ' ' + quoted((dir / "plain").string()), 1, "cannot make the folder"},
        {"outdir below a file", quoted(grid) + ' ' + quoted((dir / "plain" / "sub").string()), 1, "cannot make the folder"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(dir, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
        EXPECT_FALSE(fs::exists(dir / "out" / test::kTileNames[0])) << c.name;
    }
    const ToolRun help = runTool(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: rubicel-mktiles [GRID] OUTDIR"), std::string::npos);
    EXPECT_TRUE(help.err.empty());
}

// Returns the extreme sample of records first..last, columns from..to of a tile.
std::int16_t extreme(const fs::path& tile, int first, int last, int from, int to, bool highest) {
    TileFile file;
    EXPECT_EQ(file.open(tile.string()), std::nullopt);
    RowBuffer row;
    std::int16_t best = highest ? INT16_MIN : INT16_MAX;
    for (int record = first; record <= last; ++record) {
        EXPECT_EQ(file.readRecord(record, row), std::nullopt);
        for (int c = from; c <= to; ++c) {
            const std::int16_t v = byteswap(row[c]);
            best = highest ? std::max(best, v) : std::min(best, v);
        }
    }
    return best;
}

// Named or not, the grid is the committed one: without GRID the tool takes the
// build tree's copy in share/rubicel, which the content checks below compare
// with the committed grid.
TEST(MkTiles, BuildsTheFourTilesFromTheMolaGrid) {
    test::TempDir dir;
    const fs::path out = dir / "tiles";
    const ToolRun run = runTool(dir, quoted(out.string()));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << "no progress when standard error is not a terminal: " << run.err;

    // Exactly the four tiles, full size, and no temporary file left.
    const auto names = listTiles(out.string());
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(*names, std::vector<std::string>(test::kTileNames.begin(), test::kTileNames.end()));
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 4);
    for (const auto& name : test::kTileNames)
        EXPECT_EQ(fs::file_size(out / name), std::uintmax_t(kTileRows) * kRecordBytes) << name;

    // Records are stored big-endian, north row first, as the row function makes them.
    Grid grid;
    ASSERT_EQ(loadGrid(RUBICEL_MOLA_GRID, kGridRows, kGridColumns, grid), std::nullopt);
    for (std::size_t t = 0; t < kDemoTiles.size(); ++t) {
        RowInterpolator rows(grid, kDemoTiles[t].west, kOutputSamplesPerDegree, kTileColumns);
        std::vector<std::int16_t> expected(kTileColumns);
        std::ifstream in(out / kDemoTiles[t].name, std::ios::binary);
        for (const int record : {1, 2881, kTileRows}) {
            rows.row(rowLatitude(kDemoTiles[t].top, record - 1), expected);
            std::vector<unsigned char> bytes(kRecordBytes);
            in.seekg(std::streamoff(record - 1) * kRecordBytes);
            in.read(reinterpret_cast<char*>(bytes.data()), kRecordBytes);
            int wrong = 0;
            for (int c = 0; c < kTileColumns; ++c)
                wrong += std::int16_t(std::uint16_t(bytes[2 * c] << 8 | bytes[2 * c + 1])) != expected[c];
            EXPECT_EQ(wrong, 0) << kDemoTiles[t].name << " record " << record;
        }
    }

    // Olympus Mons (the grid's highest cell, 21134 m at 17.375 N, 133.125 W) in
    // the north-west tile: records near (90 - 17.375) × 64, columns near 46.875 × 64.
    const std::int16_t summit = extreme(out / "megt90n180gb.img", 4630, 4665, 2980, 3020, true);
    EXPECT_GT(summit, 21000);
    EXPECT_LE(summit, 21134);
    // Hellas (the lowest cell, -8068 m at 32.875 S, 62.125 E) in the south-east tile.
    const std::int16_t floor = extreme(out / "megt00n000gb.img", 2090, 2120, 3960, 3990, false);
    EXPECT_LT(floor, -8000);
    EXPECT_GE(floor, -8068);
}

}  // namespace
}  // namespace rubicel::mktiles
