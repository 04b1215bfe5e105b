// SPDX-License-Identifier: MIT
// render_main_test.cpp: rubicel-render end to end on sparse tiles: the BMP written, messages and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "colour/colour_engine.h"
#include "colour/user_bands.h"
#include "keys/colour_keys.h"
#include "platform/headless/headless_platform.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "windows/key_windows.h"
#include "windows/program.h"

namespace rubicel {
namespace {

std::int16_t elevation(int t, int c) { return std::int16_t(-7000 + 4000 * t + c / 64); }

std::vector<unsigned char> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Bmp {
    std::vector<unsigned char> bytes;
    std::uint32_t at32(std::size_t i) const {
        return std::uint32_t(bytes[i]) | std::uint32_t(bytes[i + 1]) << 8 | std::uint32_t(bytes[i + 2]) << 16 |
               std::uint32_t(bytes[i + 3]) << 24;
    }
    int width() const { return int(at32(18)); }
    int height() const { return int(at32(22)); }
    // Pixel (x, y) counted from the top, as 0xFFRRGGBB.
    std::uint32_t pixel(int x, int y) const {
        const std::size_t stride = (std::size_t(width()) * 3 + 3) / 4 * 4;
        const std::size_t i = at32(10) + std::size_t(height() - 1 - y) * stride + std::size_t(x) * 3;
        return packRgb(bytes[i + 2], bytes[i + 1], bytes[i]);
    }
};

class RenderMain : public ::testing::Test {
protected:
    RenderMain() {
        tiles = test::makeSparseTileSet(data.path());
        for (int t = 0; t < 4; ++t) test::writeRecord(tiles[std::size_t(t)], 1, [t](int c) { return elevation(t, c); });
    }

    // Runs rubicel-render with args in folder work; returns its exit status.
    int run(const std::string& args) {
        std::string command = "cd '";
        command += work.path().string();
        command += "' && '" RUBICEL_RENDER "' ";
        command += args;
        command += " >'";
        command += (work / "out.txt").string();
        command += "' 2>'";
        command += (work / "err.txt").string();
        command += "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string errors() {
        const auto bytes = readFile(work / "err.txt");
        return {bytes.begin(), bytes.end()};
    }
    std::string output() {
        const auto bytes = readFile(work / "out.txt");
        return {bytes.begin(), bytes.end()};
    }
    std::string dataOption() const { return "--data '" + data.path().string() + "'"; }

    // The pixel the colour engine gives elevation alt under scheme and mode, and
    // under the bands of the range when one is given.
    std::uint32_t colourOf(std::int16_t scheme, std::int16_t mode, std::int16_t alt, const int* range = nullptr) {
        HeadlessPlatform ui;
        Program p(ui);
        initbands(p.colour);
        if (range) {
            EXPECT_TRUE(userbandsFromLimits(p.colour, std::int16_t(range[0]), std::int16_t(range[1])));
        }
        p.colour.mode = mode;
        Setcolours(p, scheme, alt);
        return packRgb(p.colour.R, p.colour.G, p.colour.B);
    }

    test::TempDir data;
    test::TempDir work;
    std::array<std::filesystem::path, 4> tiles;
};

TEST_F(RenderMain, WritesTheMapAsABitmap) {
    const int range[2] = {-2000, 3000};
    const struct {
        const char* name;
        std::string args;
        int width, height;
        std::int16_t scheme, mode;
        const int* range;
        struct Pixel { int x, y, tile, column; };
        std::vector<Pixel> pixels;
    } cases[] = {
        {"planet centred on 0", "--planet 0 --scheme 1 --mode 1", 960, 480, 1, 1, nullptr,
         {{0, 0, 3, 0}, {479, 0, 3, 11496}, {480, 0, 2, 0}, {0, 240, 1, 0}, {959, 240, 0, 11496}}},
        {"planet centred on 180 with a range", "--planet 180 --mode 2 --range -2000 3000", 960, 480, 9, 2, range,
         {{0, 0, 2, 0}, {480, 0, 3, 0}}},
        {"north-west tile at step 24", "--tile northwest --step 24 --scheme 5 --mode 3", 479, 240, 5, 3, nullptr,
         {{0, 0, 3, 0}, {478, 0, 3, 11472}}},
        {"box across the equator at step 8", "--area 10 5 20 -5 --step 8 --scheme 2 --mode 1", 80, 80, 2, 1,
         nullptr, {{0, 40, 0, 640}, {79, 40, 0, 1272}}},
        {"named feature at its own step", "--feature Victoria --scheme 0 --mode 0", 256, 256, 0, 0, nullptr,
         {{0, 0, 1, 11071}, {255, 0, 1, 11326}}},
        {"box to the east edge of the neighbour tile", "--area 0 90 360 -90 --step 24 --scheme 1 --mode 1", 959, 480,
         1, 1, nullptr, {{0, 0, 2, 0}, {480, 0, 3, 0}, {958, 0, 3, 11472}, {0, 240, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(dataOption() + " " + c.args + " -o map.bmp"), 0) << errors();
        const Bmp bmp{readFile(work / "map.bmp")};
        ASSERT_GE(bmp.bytes.size(), 54u);
        EXPECT_EQ(bmp.width(), c.width);
        EXPECT_EQ(bmp.height(), c.height);
        EXPECT_EQ(bmp.bytes.size(), 54 + std::size_t(c.height) * ((std::size_t(c.width) * 3 + 3) / 4 * 4));
        for (const auto& px : c.pixels)
            EXPECT_EQ(bmp.pixel(px.x, px.y), colourOf(c.scheme, c.mode, elevation(px.tile, px.column), c.range))
                << px.x << "," << px.y;
        EXPECT_EQ(bmp.pixel(c.width - 1, c.height - 1) >> 24, 0xFFu);
    }
}

TEST_F(RenderMain, ReadsTheDataFolderAndColoursFromTheConfiguration) {
    std::ofstream(work / "mgr064srubicel.cfg") << data.path().string() << "\r\n 5 \r\n 2 \r\n";
    ASSERT_EQ(run("--planet 0 -o map.bmp"), 0) << errors();
    const Bmp bmp{readFile(work / "map.bmp")};
    EXPECT_EQ(bmp.pixel(480, 0), colourOf(5, 2, elevation(2, 0)));
    ASSERT_EQ(run("--planet 0 --scheme 3 -o map.bmp"), 0) << errors();
    EXPECT_EQ(Bmp{readFile(work / "map.bmp")}.pixel(480, 0), colourOf(3, 2, elevation(2, 0)));
}

// The libraries of GeoTIFFs and of drawing are modules, mapped only when a map
// needs them: a bitmap maps at most 15 objects, the loader and the kernel's
// vDSO among them (the dynamic loader's debug output names the other 13).
TEST_F(RenderMain, DrawingABitmapMapsFewLibrariesAndNoModule) {
    const std::string command = "cd '" + work.path().string() + "' && LD_DEBUG=files '" RUBICEL_RENDER "' " +
                                dataOption() + " --planet 0 --step 24 -o map.bmp 2>log.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto bytes = readFile(work / "log.txt");
    std::istringstream log(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> loaded;
    for (std::string line; std::getline(log, line);)
        if (const auto end = line.find(" [0];  generating link map"); end != std::string::npos)
            loaded.push_back(line.substr(line.find("file=") + 5, end - line.find("file=") - 5));
    EXPECT_GT(loaded.size(), 3u) << "the loader's debug output was not read";
    EXPECT_LE(loaded.size(), 13u) << ::testing::PrintToString(loaded);
    for (const std::string& file : loaded)
        for (const char* module : {"rubicel-", "cairo", "pixman", "tiff", "proj"})
            EXPECT_EQ(file.find(module), std::string::npos) << file;
}

TEST_F(RenderMain, FailuresAndWrongCommandLines) {
    const struct {
        const char* name;
        std::string args;
        int status;
        std::string error;  // part of standard error
    } cases[] = {
        {"tile cut short", "--data '" + (work / "short").string() + "' --area 10 5 20 -5 --step 8 -o map.bmp", 1,
         "Module 'MapfromTile' - Input past end of file"},
        {"no configuration file", "--planet 0 -o map.bmp", 1, "You have not yet defined the location of the"},
        {"three tiles", "--data '" + (work / "three").string() + "' --planet 0 -o map.bmp", 1,
         "three: the folder holds 3 of the four MEGDR064 tiles"},
        {"no data folder", "--data '" + (work / "none").string() + "' --planet 0 -o map.bmp", 1,
         "--data " + (work / "none").string() + ": there is no such folder"},
        {"unknown feature", dataOption() + " --feature Atlantis -o map.bmp", 2, "Atlantis"},
        {"nothing to draw", dataOption() + " -o map.bmp", 2, "Usage:"},
        {"no output", dataOption() + " --planet 0", 2, "-o"},
        {"two maps", dataOption() + " --planet 0 --tile northwest -o map.bmp", 2, "only one"},
        {"step not in the menu", dataOption() + " --planet 0 --step 5 -o map.bmp", 2, "--step"},
        {"scheme out of range", dataOption() + " --planet 0 --scheme 10 -o map.bmp", 2, "--scheme"},
        {"unknown tile", dataOption() + " --tile middle -o map.bmp", 2, "--tile"},
        {"missing area value", dataOption() + " --area 1 2 3", 2, "--area"},
        {"corner west of every tile", dataOption() + " --area -190 10 -170 0 -o map.bmp", 2,
         "--area: the west longitude '-190' is not a whole number from -180 to 179"},
        {"corner north of the pole", dataOption() + " --area 10 91 20 0 -o map.bmp", 2, "the north latitude '91'"},
        {"box without height", dataOption() + " --area 10 10 20 10 -o map.bmp", 2,
         "--area: the south latitude '10' is not a whole number from -90 to 9"},
        {"box past the south pole", dataOption() + " --area 10 10 20 -91 -o map.bmp", 2, "the south latitude '-91'"},
        {"box without width", dataOption() + " --area 10 10 10 0 -o map.bmp", 2,
         "--area: the east longitude '10' is not a whole number from 11 to 360"},
        {"box past the neighbour tile", dataOption() + " --area -180 90 330 -90 --step 1 -o map.tif", 2,
         "--area: the east longitude '330' is not a whole number from -179 to 180"},
        {"range without width", dataOption() + " --planet 0 --range 0 500 -o map.bmp", 2,
         "--range: the upper limit 500 is not more than 500 above the lower limit 0"},
        {"lower limit too high", dataOption() + " --planet 0 --range 30000 31000 -o map.bmp", 2,
         "--range: the lower limit '30000' is not a whole number from -8200 to 18000"},
        {"upper limit too low", dataOption() + " --planet 0 --range -8200 -7701 -o map.bmp", 2,
         "--range: the upper limit '-7701' is not a whole number from -7700 to 21250"},
        {"output folder missing", dataOption() + " --planet 0 -o nowhere/map.bmp", 1, "nowhere/map.bmp"},
        {"unknown format", dataOption() + " --planet 0 -o map.jpg", 2, ".bmp, .png or .tif"},
        {"key placed on Mars", "--key vertical --world-file -o map.bmp", 2, "--world-file"},
        {"atlas with a file", dataOption() + " --atlas maps -o map.bmp", 2, "-o"},
        {"atlas format", dataOption() + " --atlas maps --format jpg", 2, "--format"},
        {"profile latitude", dataOption() + " --profile 91 0 0 0 -o map.bmp", 2, "start latitude must be"},
        {"profile longitude", dataOption() + " --profile 0 0 0 360.5 -o map.bmp", 2, "end longitude must be"},
        {"profile not a number", dataOption() + " --profile 0 x 0 0 -o map.bmp", 2, "'x' is not a number"},
        {"profile NaN", dataOption() + " --profile 0 0 nan 0 -o map.bmp", 2, "end latitude"},
        {"profile values missing", dataOption() + " --profile 0 0 1", 2, "LAT1 LON1 LAT2 LON2"},
        {"one point", dataOption() + " --profile 0 0 1 1 --points 1 -o map.bmp", 2, "--points"},
        {"too many points", dataOption() + " --profile 0 0 1 1 --points 1000001 -o map.bmp", 2, "--points"},
        {"antipodal", dataOption() + " --profile 10 20 -10 200 -o map.bmp", 2, "antipodal"},
        {"points of no profile", dataOption() + " --planet 0 --points 5 -o map.bmp", 2, "--points"},
        {"polar limit 0", dataOption() + " --polar north --to 0 -o map.bmp", 2, "--to"},
        {"polar limit 90", dataOption() + " --polar south --to 90 -o map.bmp", 2, "--to"},
        {"limit without polar", dataOption() + " --planet 0 --to 60 -o map.bmp", 2, "--to"},
        {"unknown pole", dataOption() + " --polar east -o map.bmp", 2, "--polar"},
        {"sun below the horizon", dataOption() + " --planet 0 --sun 315,0 -o map.bmp", 2,
         "--sun: '315,0' is not AZIMUTH,ALTITUDE in degrees, the altitude from 0.001 to 90"},
        {"sun all but on the horizon", dataOption() + " --planet 0 --sun 315,1e-310 -o map.bmp", 2, "--sun"},
        {"sun past the zenith", dataOption() + " --planet 0 --sun 315,90.5 -o map.bmp", 2, "--sun: '315,90.5'"},
        {"sun without altitude", dataOption() + " --planet 0 --sun 315 -o map.bmp", 2, "--sun: '315'"},
        {"flat exaggeration", dataOption() + " --planet 0 --exaggeration 0 -o map.bmp", 2,
         "--exaggeration: '0' is not a number above 0 and at most 1000000"},
        {"boundless exaggeration", dataOption() + " --planet 0 --exaggeration 1e300 -o map.bmp", 2,
         "--exaggeration: '1e300'"},
        {"strength above 1", dataOption() + " --planet 0 --relief-strength 1.5 -o map.bmp", 2,
         "--relief-strength: '1.5' is not a number from 0 to 1"},
        {"strength not a number", dataOption() + " --planet 0 --relief-strength much -o map.bmp", 2,
         "--relief-strength: 'much'"},
        {"relief on a key", "--key vertical --relief -o map.bmp", 2, "no relief options"},
        // Options are read in order, by their whole names, the first wrong one complained about.
        {"value after an equals sign", dataOption() + " --planet 0 --scheme=5 -o map.bmp", 2,
         "unknown option '--scheme=5'"},
        {"value glued to -o", dataOption() + " --planet 0 -omap.bmp", 2, "unknown option '-omap.bmp'"},
        {"unknown option before a wrong value", dataOption() + " --bogus --scheme 10 --planet 0 -o map.bmp", 2,
         "unknown option '--bogus'"},
        {"wrong value before an unknown option", dataOption() + " --scheme 10 --bogus --planet 0 -o map.bmp", 2,
         "--scheme: '10' is not a whole number from 0 to 9"},
        {"help with an unknown option", "--help --bogus", 2, "unknown option '--bogus'"},
        {"values cut short after a wrong one", dataOption() + " --area 500 2", 2,
         "--area: the west longitude '500' is not"},
        {"place that is no name", dataOption() + " --place jez -o map.bmp", 2,
         "rubicel-render: no place is called 'jez'; names that hold it, best first:\n  Jezero, crater\n"},
        {"map area too narrow", dataOption() + " --place Jezero --size 63 768 -o map.bmp", 2,
         "--size: the width '63' is not a whole number from 64 to 23040"},
        {"map area of no place", dataOption() + " --planet 0 --size 800 600 -o map.bmp", 2, "--size goes with --place"},
        {"places listed into a map", "--places jez -o map.bmp", 2, "--places only lists places"},
    };
    std::filesystem::create_directory(work / "three");
    for (int t = 0; t < 3; ++t) test::makeSparseTile(work / "three" / test::kTileNames[std::size_t(t)]);
    std::filesystem::create_directory(work / "short");
    const auto shortTiles = test::makeSparseTileSet(work / "short");
    std::filesystem::resize_file(shortTiles[2], 23040);  // the north-east tile holds one record
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run(c.args), c.status);
        EXPECT_NE(errors().find(c.error), std::string::npos) << errors();
        EXPECT_FALSE(std::filesystem::exists(work / "map.bmp"));
        EXPECT_FALSE(std::filesystem::exists(work / "map.tif"));
    }
}

TEST_F(RenderMain, WritesAColourKeyAsTheDesktopShowsIt) {
    const struct {
        const char* args;
        bool vertical;
        std::int16_t scheme, mode;
        std::array<int, 2> range;  // {0, 0}: none
    } cases[] = {
        {"--key vertical --scheme 5 --mode 1", true, 5, 1, {0, 0}},
        {"--key horizontal --scheme 2 --mode 3", false, 2, 3, {0, 0}},
        {"--key horizontal --mode 2 --range -200 11250", false, 9, 2, {-200, 11250}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ASSERT_EQ(run(std::string(c.args) + " -o key.bmp"), 0) << errors();
        const Bmp bmp{readFile(work / "key.bmp")};
        // The same key painted in this process, as the desktop window paints it.
        HeadlessPlatform ui;
        Program p(ui);
        initbands(p.colour);
        if (c.range[0] != c.range[1]) {
            ASSERT_TRUE(userbandsFromLimits(p.colour, std::int16_t(c.range[0]), std::int16_t(c.range[1])));
        }
        p.colour.mode = c.mode;
        if (c.vertical)
            makekey(p, c.scheme);
        else
            makeHkey(p, c.scheme);
        const Raster& expected = c.vertical ? p.Key.image : p.Hkey.image;
        ASSERT_EQ(bmp.width(), expected.width());
        ASSERT_EQ(bmp.height(), expected.height());
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) ASSERT_EQ(bmp.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    }
    EXPECT_EQ(run("--key diagonal -o key.bmp"), 2);
    EXPECT_NE(errors().find("--key"), std::string::npos);
}

TEST_F(RenderMain, WritesAProfileAsCsv) {
    // Along record 1 of the south-east tile: columns 640, 672 and 704.
    ASSERT_EQ(run(dataOption() + " --profile -0.01 10 -0.01 11 --points 3 -o profile.csv"), 0) << errors();
    const auto bytes = readFile(work / "profile.csv");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "distance_km,latitude,longitude,elevation_m\n"
              "0.000,-0.010000,10.000000," + std::to_string(elevation(0, 640)) + "\n" +
              "29.637,-0.010000,10.500000," + std::to_string(elevation(0, 672)) + "\n" +
              "59.275,-0.010000,11.000000," + std::to_string(elevation(0, 704)) + "\n");
}

TEST_F(RenderMain, ListsTheNamedPlacesATextFinds) {
    const std::string header = "name\ttype\tlatitude\tlongitude\tdiameter_km\n";
    const struct {
        const char* text;
        std::string begins;
        bool whole;  // nothing follows
    } cases[] = {
        {"jez", header + "Jezero\tCrater\t18.4082\t77.6873\t47.521\n", false},
        {"xyzzy", header, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(run(std::string("--places ") + c.text), 0) << errors();
        EXPECT_EQ(output().substr(0, c.begins.size()), c.begins);
        if (c.whole) {
            EXPECT_EQ(output(), c.begins);
        }
    }
}

TEST_F(RenderMain, HelpNamesEveryOption) {
    ASSERT_EQ(run("--help"), 0);
    for (const char* option :
         {"--data", "--scheme", "--mode", "--range", "--step", "--feature", "--area", "--planet", "--tile", "--key", "-o",
          "--polar", "--to", "--world-file", "--atlas", "--format", "--jobs", "--relief", "--sun", "--exaggeration",
          "--relief-strength", "--profile", "--points", "--place", "--size", "--places",
          "Feature names: IAU WGPSN / USGS Gazetteer of Planetary Nomenclature."})
        EXPECT_NE(output().find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace rubicel
