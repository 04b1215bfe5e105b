// SPDX-License-Identifier: MIT
// render_export_test.cpp: rubicel-render's GeoTIFF and PNG with world file as gdalinfo places them; the atlas.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <filesystem>
#include <string>


#include "common/raster.h"
#include "export/atlas.h"
#include "support/file_bytes.h"
#include "support/png_pixels.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "windows/feature_catalogue.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

// Runs command in folder, standard output into out and standard error into err; returns the exit status.
int shell(const fs::path& folder, const std::string& command, std::string& out, std::string& err) {
    const std::string full = "cd '" + folder.string() + "' && " + command + " >stdout.txt 2>stderr.txt";
    const int status = std::system(full.c_str());
    out = test::readAll(folder / "stdout.txt");
    err = test::readAll(folder / "stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The pair of numbers after "name": [ in gdalinfo's JSON.
std::array<double, 2> pairAfter(const std::string& json, const std::string& name) {
    std::array<double, 2> v{NAN, NAN};
    const auto at = json.find("\"" + name + "\"");
    if (at != std::string::npos) std::sscanf(json.c_str() + json.find('[', at), "[ %lf , %lf", &v[0], &v[1]);
    return v;
}

class RenderExport : public ::testing::Test {
protected:
    RenderExport() { tiles = test::makeSparseTileSet(data.path()); }
    int render(const std::string& args) {
        return shell(work.path(), "'" RUBICEL_RENDER "' --data '" + data.path().string() + "' " + args, out, err);
    }
    test::TempDir data, work;
    std::array<fs::path, 4> tiles;
    std::string out, err;
};

TEST_F(RenderExport, TheProjectionFilesNameTheCodeAsProjHoldsIt) {
    ASSERT_EQ(render("--planet 0 -o map.bmp --world-file"), 0) << err;
    // QGIS looks the code up under this authority; under plain "IAU" it finds nothing.
    EXPECT_NE(test::readAll(work / "map.prj").find("AUTHORITY[\"IAU_2015\",\"49900\"]]"), std::string::npos);
    EXPECT_NE(test::readAll(work / "map.bmp.aux.xml").find("AUTHORITY[&quot;IAU_2015&quot;,&quot;49900&quot;]]"),
              std::string::npos);
    if (std::system("command -v gdalsrsinfo >/dev/null 2>&1") != 0) GTEST_SKIP() << "gdalsrsinfo is not installed";
    std::string srs;
    ASSERT_EQ(shell(work.path(), "gdalsrsinfo -o wkt2 map.prj", srs, err), 0) << err;
    // PROJ's IAU_2015 entry is the IAU's code of its 2015 edition.
    EXPECT_NE(srs.find("ID[\"IAU\",49900,2015]"), std::string::npos) << srs;
}

TEST_F(RenderExport, GdalPlacesTheGeoTiffAndThePngWithItsWorldFileOnTheBox) {
    if (std::system("command -v gdalinfo >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "gdalinfo is not installed (Debian package gdal-bin): the files are not checked with GDAL";
    const struct {
        const char* name;
        std::string what;
        double west, north, east, south;
    } cases[] = {
        {"named feature", "--feature 'Valles Marineris'", -120, 5, -20, -25},
        {"planet centred on 180", "--planet 180", 0, 90, 360, -90},
        {"box across 180", "--area 170 20 190 10", 170, 20, 190, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(render(c.what + " -o map.tif"), 0) << err;
        ASSERT_EQ(render(c.what + " -o map.png --world-file"), 0) << err;
        std::string tif, png;
        ASSERT_EQ(shell(work.path(), "gdalinfo -json map.tif", tif, err), 0) << err;
        ASSERT_EQ(shell(work.path(), "gdalinfo -json map.png", png, err), 0) << err;
        for (const std::string* info : {&tif, &png}) {
            EXPECT_NE(info->find("Mars (2015) - Sphere"), std::string::npos);
            EXPECT_NE(info->find("3396190"), std::string::npos);
            const auto ul = pairAfter(*info, "upperLeft");
            const auto lr = pairAfter(*info, "lowerRight");
            const auto pixel = pairAfter(*info, "geoTransform");  // west edge, pixel width
            const double pixelX = pixel[1] + 1e-9, pixelY = pixelX;
            // The west and north edges within half a pixel of the box; the picture's
            // size is rounded down, so the east and south edges may fall one pixel short.
            EXPECT_LE(std::abs(ul[0] - c.west), pixelX / 2);
            EXPECT_LE(std::abs(ul[1] - c.north), pixelY / 2);
            EXPECT_LE(std::abs(lr[0] - c.east), pixelX);
            EXPECT_LE(std::abs(lr[1] - c.south), pixelY);
            EXPECT_EQ(ul, pairAfter(tif, "upperLeft"));
            EXPECT_EQ(lr, pairAfter(tif, "lowerRight"));
        }
    }
}

// The furniture is painted over the map a PNG holds, its place on Mars as
// without it; a figure is a page titled with the map's caption, as a PDF or
// as an SVG document.
TEST_F(RenderExport, FurnitureIsPaintedOverTheMapAndAFigureIsTitledWithItsCaption) {
    ASSERT_EQ(render("--planet 0 -o bare.png --world-file"), 0) << err;
    ASSERT_EQ(render("--planet 0 --furniture -o furnished.png --world-file"), 0) << err;
    const Raster bare = test::decodePng(work / "bare.png"), furnished = test::decodePng(work / "furnished.png");
    ASSERT_FALSE(bare.empty());
    ASSERT_EQ(furnished.width(), bare.width());
    ASSERT_EQ(furnished.height(), bare.height());
    long long changed = 0;
    for (int y = 0; y < bare.height(); ++y)
        for (int x = 0; x < bare.width(); ++x) changed += bare.pixel(x, y) != furnished.pixel(x, y);
    EXPECT_GT(changed, bare.width());  // a grid line at least
    EXPECT_FALSE(test::readAll(work / "bare.pgw").empty());
    EXPECT_EQ(test::readAll(work / "furnished.pgw"), test::readAll(work / "bare.pgw"));

    ASSERT_EQ(render("--planet 0 --names --scale-bar -o figure.pdf"), 0) << err;
    std::string text;
    ASSERT_EQ(shell(work.path(), "pdftotext figure.pdf -", text, err), 0) << err;
    EXPECT_NE(text.find("Entire Planet - centred on 000°"), std::string::npos) << text;
    ASSERT_EQ(render("--planet 0 --graticule -o figure.svg"), 0) << err;
    EXPECT_EQ(shell(work.path(), "python3 -c 'import sys, xml.etree.ElementTree as x; x.parse(sys.argv[1])' figure.svg",
                    text, err),
              0)
        << err;
}

// A place's map is centred on the place, to the whole degree its box is drawn
// on: the world file's middle of the picture within half a degree of it.
TEST_F(RenderExport, APlaceMapIsCentredOnThePlace) {
    const struct {
        std::string args;
        double longitude, latitude;
        int width, height;  // of the picture; 0: not checked
    } cases[] = {
        {"--place Jezero", 77.6873, 18.4082, 1024, 768},
        {"--place 'hephaestus rupes' --size 640 480", 114.9028, 23.5385, 0, 0},
        {"--place curiosity", 137.4417, -4.5895, 0, 0},  // a lander by its mission
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ASSERT_EQ(render(c.args + " -o map.png --world-file"), 0) << err;
        const std::string png = test::readAll(work / "map.png");
        ASSERT_GE(png.size(), 24u);
        const auto be32 = [&png](std::size_t i) {
            return int(std::uint8_t(png[i])) << 24 | int(std::uint8_t(png[i + 1])) << 16 |
                   int(std::uint8_t(png[i + 2])) << 8 | int(std::uint8_t(png[i + 3]));
        };
        const int width = be32(16), height = be32(20);
        if (c.width) {
            EXPECT_EQ(width, c.width);
            EXPECT_EQ(height, c.height);
        }
        // Pixel width, two rotations, pixel height, and the middle of the upper-left pixel.
        double a = NAN, d = NAN, b = NAN, e = NAN, x = NAN, y = NAN;
        ASSERT_EQ(std::sscanf(test::readAll(work / "map.pgw").c_str(), "%lf %lf %lf %lf %lf %lf", &a, &d, &b, &e, &x, &y),
                  6);
        EXPECT_NEAR(x + a * (width - 1) / 2, c.longitude, 0.5);
        EXPECT_NEAR(y + e * (height - 1) / 2, c.latitude, 0.5);
    }
}

// The pole's polar stereographic system on the Mars sphere, the corner at
// (-n p, n p): for 60° at step 4 n = 492 and p = 3704.67 m; for 80° at step
// 13 n = 50 and p = 12040.17 m. GDAL reads the GeoTIFF's keys as variant A
// (natural origin at the pole, scale 1) and the .prj's WKT 1 as the same
// projection in variant B (standard parallel at the pole).
TEST_F(RenderExport, GdalPlacesPolarMapsInThePolarStereographicSystemOfTheirPole) {
    if (std::system("command -v gdalinfo >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "gdalinfo is not installed (Debian package gdal-bin): the files are not checked with GDAL";
    const struct {
        std::string what;
        std::string pole;
        double corner;
        std::string code;  // of the system under IAU_2015
    } cases[] = {
        {"--polar north --step 4", "90", 492 * 3704.6685952066387, "49930"},
        {"--polar south --to 80 --step 13", "-90", 50 * 12040.172934421576, "49935"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(render(c.what + " -o map.tif"), 0) << err;
        ASSERT_EQ(render(c.what + " -o map.png --world-file"), 0) << err;
        for (const char* file : {"map.tif", "map.png"}) {
            std::string info;
            ASSERT_EQ(shell(work.path(), std::string("gdalinfo -json ") + file, info, err), 0) << err;
            const bool variantA = info.find("Polar Stereographic (variant A)") != std::string::npos;
            EXPECT_TRUE(variantA || info.find("Polar Stereographic (variant B)") != std::string::npos) << file;
            const std::string origin = variantA ? "Latitude of natural origin" : "Latitude of standard parallel";
            EXPECT_NE(info.find(origin + "\\\"," + c.pole + ","), std::string::npos) << file;
            EXPECT_NE(info.find("Mars (2015) - Sphere\\\",3396190,0"), std::string::npos) << file;
            // Corners to GDAL's three decimals; the transform exact.
            const auto ul = pairAfter(info, "upperLeft");
            const auto lr = pairAfter(info, "lowerRight");
            EXPECT_NEAR(ul[0], -c.corner, 1e-3) << file;
            EXPECT_NEAR(ul[1], c.corner, 1e-3) << file;
            EXPECT_NEAR(lr[0], c.corner, 1e-3) << file;
            EXPECT_NEAR(lr[1], -c.corner, 1e-3) << file;
            EXPECT_NEAR(pairAfter(info, "geoTransform")[0], -c.corner, 1e-6) << file;
        }
        // GDAL knows the GeoTIFF's system as the IAU entry itself, so QGIS names
        // its code: the identifier is carried, and the match is whole (below
        // 100 % gdalsrsinfo says how sure it is; 3.6 prints every code as "EPSG:").
        std::string info, matches;
        ASSERT_EQ(shell(work.path(), "gdalinfo -json map.tif", info, err), 0) << err;
        EXPECT_NE(info.find("ID[\\\"IAU\\\"," + c.code + ",2015]]"), std::string::npos) << info;
        if (std::system("command -v gdalsrsinfo >/dev/null 2>&1") == 0) {
            ASSERT_EQ(shell(work.path(), "gdalsrsinfo -e map.tif", matches, err), 0) << err;
            EXPECT_NE(matches.find(":" + c.code + "\n"), std::string::npos) << matches;
            EXPECT_EQ(matches.find("Confidence"), std::string::npos) << matches;
        }
    }
    EXPECT_NE(test::readAll(work.path() / "map.prj").find("AUTHORITY[\"IAU_2015\",\"49935\"]"), std::string::npos);
}

TEST_F(RenderExport, AtlasDrawsEveryMapAsAloneAndReportsTheOnesThatFail) {
    ASSERT_EQ(render("--atlas atlas --format bmp --jobs 2"), 0) << err;
    const auto entries = atlasEntries(ImageFormat::Bmp);
    ASSERT_EQ(entries.size(), 76u);
    const std::string page = test::readAll(work / "atlas/index.html");
    for (const auto& e : entries) {
        EXPECT_TRUE(fs::is_regular_file(work / "atlas" / e.file)) << e.file;
        EXPECT_TRUE(fs::is_regular_file(work / "atlas" / e.thumbnail)) << e.thumbnail;
        EXPECT_NE(page.find("href=\"" + e.file + "\""), std::string::npos) << e.file;
    }
    EXPECT_NE(page.find("<strong>Cydonia &#39;face&#39;</strong>"), std::string::npos);
    ASSERT_EQ(render("--feature 'Olympia (N Pole)' -o alone.bmp"), 0) << err;
    EXPECT_EQ(test::readAll(work / "alone.bmp"), test::readAll(work / "atlas/olympia-n-pole.bmp"));

    // A south-west tile cut short: its maps fail, the others are still drawn.
    fs::resize_file(tiles[1], 23040);
    ASSERT_EQ(render("--atlas again --jobs 2"), 1);
    EXPECT_NE(err.find("Terra Sirenium: Module 'MapfromTile' - "), std::string::npos) << err;
    EXPECT_EQ(err.find("Cassini"), std::string::npos) << err;
    EXPECT_TRUE(fs::is_regular_file(work / "again/cassini.png"));
    EXPECT_FALSE(fs::exists(work / "again/terra-sirenium.png"));
    EXPECT_NE(test::readAll(work / "again/index.html").find("not drawn"), std::string::npos);
}

TEST_F(RenderExport, AMapAndItsWorldFilesAreWrittenAllOrNone) {
    // The map drawn while it is written (PNG) and the one written once drawn (TIFF).
    for (const std::string map : {"map.png", "map.tif"}) {
        SCOPED_TRACE(map);
        ASSERT_EQ(render("--planet 0 -o " + map + " --world-file"), 0) << err;
        const std::string side = map.substr(0, 5) + map.back() + "w";  // map.pgw, map.tfw
        const std::string before = test::readAll(work / map), world = test::readAll(work / side);
        // The auxiliary file, written last, cannot be: a folder holding a file is in its place.
        fs::remove(work / (map + ".aux.xml"));
        fs::create_directories(work / (map + ".aux.xml") / "in the way");
        fs::remove(work / "map.prj");
        ASSERT_EQ(render("--planet 180 -o " + map + " --world-file"), 1);
        EXPECT_NE(err.find(map + ".aux.xml"), std::string::npos) << err;
        EXPECT_EQ(test::readAll(work / map), before);
        EXPECT_EQ(test::readAll(work / side), world);
        EXPECT_FALSE(fs::exists(work / "map.prj"));
        fs::remove_all(work / (map + ".aux.xml"));
    }
    for (const auto& entry : fs::directory_iterator(work.path()))
        EXPECT_NE(entry.path().filename().string().rfind(".rubicel-", 0), 0u) << entry.path();
}

TEST_F(RenderExport, ASignalEndsAWriteWithoutLeavingItsTemporaryFile) {
    const auto temporary = [this] {
        for (const auto& entry : fs::directory_iterator(work.path()))
            if (entry.path().filename().string().rfind(".rubicel-", 0) == 0) return true;
        return false;
    };
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        // A whole tile at full resolution: a file of 190 MB, written for a while.
        const std::string dataFolder = data.path().string(), output = (work / "tile.bmp").string();
        const char* argv[] = {RUBICEL_RENDER, "--data", dataFolder.c_str(), "--tile", "northwest", "--step", "1",
                              "--relief", "-o", output.c_str(), nullptr};
        const pid_t child = ::fork();
        if (child == 0) {
            // The signals' default actions, as from a terminal.
            for (const int s : {SIGINT, SIGTERM, SIGHUP}) ::signal(s, SIG_DFL);
            ::execv(RUBICEL_RENDER, const_cast<char**>(argv));
            ::_exit(127);
        }
        ASSERT_GT(child, 0);
        const auto start = std::chrono::steady_clock::now();
        while (!temporary() && std::chrono::steady_clock::now() - start < std::chrono::seconds(30))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_TRUE(temporary()) << "the map is being written";
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_FALSE(temporary());
        EXPECT_FALSE(fs::exists(output));
    }
}

}  // namespace
}  // namespace rubicel
