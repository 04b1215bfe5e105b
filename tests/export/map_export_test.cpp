// SPDX-License-Identifier: MIT
// map_export_test.cpp: where a map's file says each pixel lies, against the sample the pixel shows; the same pixels in every format.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <tiffio.h>

#include <cmath>
#include <set>
#include <utility>

#include "colour/colour_engine.h"
#include "common/bmp_writer.h"
#include "export/geo_transform.h"
#include "export/map_output.h"
#include "export/map_request.h"
#include "export/map_stream.h"
#include "export/png_writer.h"
#include "export/world_file.h"
#include "maps/drawn_map.h"
#include "platform/headless/headless_platform.h"
#include "support/file_bytes.h"
#include "support/png_pixels.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "windows/feature_catalogue.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// Seven elevations of clearly different colours, none the colour of the 0 of
// an unwritten record. A sample's value depends on its column, record and tile,
// so a pixel that shows a neighbouring sample shows another colour.
constexpr std::array<std::int16_t, 7> kLevels = {-6500, -3500, -1200, 900, 3300, 7200, 14000};
std::int16_t sampleValue(int tile, int record, int column) {
    return kLevels[std::size_t((column + 3 * record + 2 * tile) % 7)];
}

MapRequest area(std::int16_t w, std::int16_t n, std::int16_t e, std::int16_t s, std::int16_t step) {
    MapRequest r;
    r.west = w, r.north = n, r.east = e, r.south = s, r.step = step;
    return r;
}

class MapExport : public ::testing::Test {
protected:
    MapExport() : p(ui) {
        p.map.datafolder = dir.folder();
        p.File1.assign(test::kTileNames.begin(), test::kTileNames.end());
        initbands(p.colour);
        p.colour.scheme = 5;
        p.colour.mode = 1;
    }
    std::uint32_t colourOf(std::int16_t alt) {
        Setcolours(p, p.colour.scheme, alt);
        return packRgb(p.colour.R, p.colour.G, p.colour.B);
    }
    test::TempDir dir;
    HeadlessPlatform ui;
    Program p;
};

TEST_F(MapExport, EveryPixelShowsItsSampleAndTheTransformPlacesItWithinAPixel) {
    std::set<std::uint32_t> colours = {colourOf(0)};
    for (const auto level : kLevels) colours.insert(colourOf(level));
    ASSERT_EQ(colours.size(), kLevels.size() + 1) << "the levels must differ in colour";

    MapRequest tile;
    tile.kind = MapRequest::Kind::Tile;
    tile.tileEntry = 1;
    tile.step = 24;
    const struct {
        const char* name;
        MapRequest request;
    } cases[] = {
        {"planet centred on 0", MapRequest::planet(0)},
        {"planet centred on 180 at step 20", [] { auto r = MapRequest::planet(180); r.step = 20; return r; }()},
        {"box across 180 and the equator", area(171, 6, 190, -9, 8)},
        {"box from the pole across 180", area(150, 90, 240, 80, 13)},
        {"box at step 1 across 180", area(179, 1, 181, -1, 1)},
        {"box in a southern tile", area(-40, -20, -30, -30, 4)},
        {"south-west tile", tile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto all = test::makeSparseTileSet(dir.path());
        // A first drawing says which samples the pixels show; then only those
        // records are written, so a pixel taken from any other record shows the
        // colour of 0.
        ASSERT_TRUE(drawMap(p, ui, c.request));
        const Raster& image = p.dmap.image;
        const int step = p.map.resolution;
        ASSERT_EQ(step, c.request.step.value_or(24));
        std::set<std::pair<int, int>> records;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const auto at = pixelSample(p.dmap, x, y)) records.insert({at->tile, at->record});
        for (const auto& [t, record] : records)
            test::writeRecord(all[std::size_t(t)], record, [t = t, record = record](int col) {
                return sampleValue(t, record, col);
            });
        ASSERT_TRUE(drawMap(p, ui, c.request));

        const auto t = geoTransformOf(p.dmap);
        ASSERT_TRUE(t);
        const double sample = 1 / 64.0;
        // The transform's place of a pixel's north-west sample, at most a sample
        // off at step 1 and less than a pixel at every step.
        const double bound = std::max(1, step - 1) * sample + 1e-9;
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const auto at = pixelSample(p.dmap, x, y);
                if (!at) {  // a row the rendering ends before
                    ASSERT_EQ(image.pixel(x, y), kPictureBackground) << x << "," << y;
                    continue;
                }
                if (image.pixel(x, y) != colourOf(sampleValue(at->tile, at->record, at->column)) && wrong++ < 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is not tile " << at->tile << " record "
                                  << at->record << " column " << at->column;
                if (x == 0 && y == 0) {
                    EXPECT_DOUBLE_EQ(t->west + sample / 2, at->longitude);
                    EXPECT_DOUBLE_EQ(t->north - sample / 2, at->latitude);
                }
                ASSERT_LE(std::abs(t->west + x * t->pixelWidth + sample / 2 - at->longitude), bound) << x;
                ASSERT_LE(std::abs(t->north + y * t->pixelHeight - sample / 2 - at->latitude), bound) << y;
            }
        EXPECT_EQ(wrong, 0);
    }
}

// The pixels of a TIFF file, as 0xFFRRGGBB.
Raster decodeTiff(const std::string& path) {
    Raster out;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return out;
    std::uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    std::vector<std::uint32_t> abgr(std::size_t(w) * h);
    if (TIFFReadRGBAImageOriented(tif, w, h, abgr.data(), ORIENTATION_TOPLEFT, 0)) {
        out.reset(int(w), int(h));
        for (std::size_t i = 0; i < abgr.size(); ++i)
            out.data()[i] = packRgb(int(TIFFGetR(abgr[i])), int(TIFFGetG(abgr[i])), int(TIFFGetB(abgr[i])));
    }
    TIFFClose(tif);
    return out;
}

TEST_F(MapExport, EveryFormatHoldsTheSamePixelsAndTheBitmapIsTheSavedOne) {
    test::makeSparseTileSet(dir.path());
    for (int k = 1; k <= 5760; k += 24)
        test::writeRecord(dir / test::kTileNames[3], k, [k](int c) { return std::int16_t(-8000 + (c * 7 + k) % 29000); });
    ASSERT_TRUE(drawMap(p, ui, MapRequest::planet(0)));
    const Raster& image = p.dmap.image;
    const auto place = geoTransformOf(p.dmap);
    ASSERT_TRUE(place);
    test::TempDir out;
    ASSERT_FALSE(writeMap(image, (out / "m.bmp").string(), ImageFormat::Bmp, place, false));
    ASSERT_FALSE(writeMap(image, (out / "m.png").string(), ImageFormat::Png, place, false));
    ASSERT_FALSE(writeMap(image, (out / "m.TIFF").string(), ImageFormat::Tiff, place, false));
    const auto bmp = bmpBytes(image);
    EXPECT_EQ(test::readAll(out / "m.bmp"), std::string(bmp.begin(), bmp.end()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 3) << "no world files unasked";
    for (const Raster& decoded : {test::decodePng(out / "m.png"), decodeTiff((out / "m.TIFF").string())}) {
        ASSERT_EQ(decoded.width(), image.width());
        ASSERT_EQ(decoded.height(), image.height());
        EXPECT_TRUE(std::equal(image.data(), image.data() + image.width() * image.height(), decoded.data()));
    }
    // Formats by name, case aside; anything else is no format.
    EXPECT_EQ(formatOfPath("a/M.PnG"), ImageFormat::Png);
    EXPECT_EQ(formatOfPath("x.tiff"), ImageFormat::Tiff);
    EXPECT_FALSE(formatOfPath("map.jpg"));
    EXPECT_FALSE(formatOfPath("maps.png/map"));
}

TEST_F(MapExport, AMapWrittenAsItIsDrawnIsTheFileOfTheFinishedPicture) {
    test::makeSparseTileSet(dir.path());
    for (int t = 0; t < 4; ++t)
        for (int k = 1; k <= 5760; k += 5)
            test::writeRecord(dir / test::kTileNames[std::size_t(t)], k, [&](int c) { return sampleValue(t, k, c); });
    MapRequest tile;
    tile.kind = MapRequest::Kind::Tile;
    tile.tileEntry = 3;
    tile.step = 1;
    const struct {
        const char* name;
        MapRequest request;
        ImageFormat format;
        bool relief = false;
    } cases[] = {
        // The last row and column of a whole tile are never drawn: they keep the background.
        {"whole tile at step 1", tile, ImageFormat::Bmp},
        {"box across 180 and the equator", area(170, 10, 190, -10, 3), ImageFormat::Png},
        {"named feature", MapRequest::feature(*findFeature("Olympus Mons")), ImageFormat::Bmp},
        // Each row is shaded once the row below it is drawn.
        {"whole tile at step 1, relief shaded", tile, ImageFormat::Png, true},
    };
    test::TempDir out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        p.relief.on = c.relief;
        const std::string streamed = (out / "streamed").string(), whole = (out / "whole").string();
        bool drawn = false;
        ASSERT_FALSE(drawMapIntoFile(p, ui, c.request, streamed, c.format, true, drawn));
        ASSERT_TRUE(drawn);
        EXPECT_TRUE(p.dmap.image.empty());
        const std::string worldFile = test::readAll(worldFilePath(streamed));
        ASSERT_TRUE(drawMap(p, ui, c.request));
        ASSERT_FALSE(writeMap(p.dmap.image, whole, c.format, geoTransformOf(p.dmap), true));
        EXPECT_TRUE(test::readAll(streamed) == test::readAll(whole));
        EXPECT_EQ(worldFile, test::readAll(worldFilePath(whole)));
        EXPECT_FALSE(worldFile.empty());
    }
}

TEST_F(MapExport, TheRendererNeverHoldsAWholeFullResolutionTile) {
    const auto tiles = test::makeSparseTileSet(dir.path());
    for (int k = 1; k <= 5760; k += 3) test::writeRecord(tiles[3], k, [k](int c) { return sampleValue(3, k, c); });
    test::TempDir out;
    const std::string command = "'" RUBICEL_RENDER "' --data '" + dir.folder() + "' --tile northwest --step 1 -o '" +
                                (out / "tile.bmp").string() + "'";
    // A forked child starts from this process's present memory, not from its
    // highest, which a spawned one (std::system) would share.
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    rusage children{};
    ASSERT_EQ(::wait4(child, &status, 0, &children), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // 11519 by 5760 pixels: 199 MB as a bitmap, 265 MB as 32-bit pixel words.
    const auto bytes = test::readAll(out / "tile.bmp").size();
    EXPECT_EQ(bytes, 54u + 5760u * 34560u);
    EXPECT_LT(double(children.ru_maxrss) * 1024, 0.5 * double(bytes)) << children.ru_maxrss << " KiB at the peak";
}

}  // namespace
}  // namespace rubicel
