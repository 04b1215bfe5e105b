// SPDX-License-Identifier: MIT
// bmp_writer.h: a raster as a 24-bit uncompressed Windows bitmap, for both programs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rubicel {

class Raster;

// The bytes of the BMP file of image: BITMAPFILEHEADER, BITMAPINFOHEADER, bottom-up
// rows of blue, green, red, each row padded to a multiple of four bytes.
std::vector<unsigned char> bmpBytes(const Raster& image);

// Writes image to path through a temporary file in the same folder and a rename,
// so an earlier file of that name survives a failed write. A symbolic link at path
// is replaced by the map, never followed, so a map is written only where its name
// says; a character device or a pipe (or a link to one) is written into instead.
// Returns a description of the failure, or nothing.
[[nodiscard]] std::optional<std::string> writeBmp(const Raster& image, const std::string& path);

// The same bitmap written whole into the open file fd, a band of rows at a time;
// false with errno set when a write fails.
bool writeBmpTo(int fd, const Raster& image);

// The same bitmap written into the open file fd a row at a time, each row at
// its own place (the file runs bottom-up), so the rows may come in any order;
// rows that follow each other down the picture are held and written in bands.
// A write that fails returns false with errno set.
class BmpRows {
public:
    BmpRows(int fd, int width, int height);
    bool writeHeader();
    // Row y of the picture, width pixels.
    bool writeRow(int y, const std::uint32_t* pixels);
    // Writes the rows held; the file is whole once every row went through here.
    bool flush();

private:
    int fd_, width_, height_;
    std::size_t stride_, bandRows_;
    std::vector<unsigned char> band_;
    int first_ = 0;         // picture row of the first row held
    std::size_t held_ = 0;  // rows held
};

}  // namespace rubicel
