// SPDX-License-Identifier: MIT
// bmp_writer_test.cpp: header fields, row padding and order, and the safe replacement of files.
#include "common/bmp_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/raster.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t le16(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

std::vector<unsigned char> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A picture whose every pixel tells its place: red x, green y, blue x + y.
Raster numberedRaster(int width, int height) {
    Raster r;
    r.reset(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) r.setPixel(x, y, packRgb(x, y, (x + y) & 0xFF));
    return r;
}

TEST(BmpWriter, HeaderFieldsAndRowPadding) {
    const struct {
        int width, height;
        std::uint32_t stride;
    } cases[] = {{1, 1, 4}, {2, 2, 8}, {3, 1, 12}, {4, 3, 12}, {5, 2, 16}, {960, 480, 2880}, {479, 240, 1440}};
    for (const auto& c : cases) {
        const auto b = bmpBytes(numberedRaster(c.width, c.height));
        const std::uint32_t imageBytes = c.stride * std::uint32_t(c.height);
        ASSERT_EQ(b.size(), 54u + imageBytes) << c.width;
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(le32(b, 2), 54u + imageBytes);
        EXPECT_EQ(le32(b, 6), 0u);
        EXPECT_EQ(le32(b, 10), 54u);
        EXPECT_EQ(le32(b, 14), 40u);
        EXPECT_EQ(le32(b, 18), std::uint32_t(c.width));
        EXPECT_EQ(le32(b, 22), std::uint32_t(c.height));
        EXPECT_EQ(le16(b, 26), 1u);
        EXPECT_EQ(le16(b, 28), 24u);
        EXPECT_EQ(le32(b, 30), 0u);
        EXPECT_EQ(le32(b, 34), imageBytes);
        EXPECT_EQ(le32(b, 38), 2835u);
        EXPECT_EQ(le32(b, 42), 2835u);
        EXPECT_EQ(le32(b, 46), 0u);
        EXPECT_EQ(le32(b, 50), 0u);
        for (int row = 0; row < c.height; ++row)
            for (std::uint32_t pad = std::uint32_t(c.width) * 3; pad < c.stride; ++pad)
                ASSERT_EQ(b[54 + row * c.stride + pad], 0) << c.width << " row " << row;
    }
}

TEST(BmpWriter, RowsRunBottomUpInBlueGreenRedOrder) {
    const Raster r = numberedRaster(5, 3);
    const auto b = bmpBytes(r);
    const std::size_t stride = 16;
    const struct {
        int x, y;
    } pixels[] = {{0, 0}, {4, 0}, {0, 2}, {3, 1}, {4, 2}};
    for (const auto& px : pixels) {
        const std::size_t at = 54 + std::size_t(2 - px.y) * stride + std::size_t(px.x) * 3;
        EXPECT_EQ(b[at], blueOf(r.pixel(px.x, px.y))) << px.x << "," << px.y;
        EXPECT_EQ(b[at + 1], greenOf(r.pixel(px.x, px.y)));
        EXPECT_EQ(b[at + 2], redOf(r.pixel(px.x, px.y)));
    }
}

TEST(BmpWriter, WritesTheBytesAndReplacesAnEarlierFile) {
    test::TempDir dir;
    const auto path = dir / "map.BMP";
    {
        std::ofstream old(path);
        old << "an earlier map";
    }
    const Raster r = numberedRaster(1100, 300);  // more than one band of rows
    ASSERT_EQ(writeBmp(r, path.string()), std::nullopt);
    EXPECT_EQ(readFile(path), bmpBytes(r));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file left";
}

TEST(BmpWriter, AFailedWriteReportsAndKeepsTheEarlierFile) {
    test::TempDir dir;
    const struct {
        const char* name;
        std::filesystem::path path;
    } cases[] = {
        {"missing folder", dir / "no such folder" / "map.BMP"},
        {"a folder in the way", dir.path()},
    };
    for (const auto& c : cases) {
        const auto failure = writeBmp(numberedRaster(4, 4), c.path.string());
        ASSERT_TRUE(failure.has_value()) << c.name;
        EXPECT_NE(failure->find(c.path.string()), std::string::npos) << *failure;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0) << "no temporary file left";
}

}  // namespace
}  // namespace rubicel
