// SPDX-License-Identifier: MIT
// png_writer.h: a raster as an 8-bit RGB PNG file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rubicel {

class Raster;

// Writes image to path, replacing an existing file whole or not at all; with
// dotsPerInch above 0 the file gives its resolution (a figure's page, to be
// printed at its size). Returns a description of the failure, or nothing.
[[nodiscard]] std::optional<std::string> writePng(const Raster& image, const std::string& path,
                                                  int dotsPerInch = 0);

// The same PNG written whole into the open file fd, from its start to its end;
// false with errno set when a write fails.
bool writePngTo(int fd, const Raster& image, int dotsPerInch = 0);

// The PNG of the first width x height pixels of image (at most its own), in
// memory; empty when it has no pixel or libpng fails.
std::vector<unsigned char> pngBytes(const Raster& image, int width, int height);

// The same PNG written into the open file fd a row at a time, from the top. A
// step that fails returns false with errno set, and so does every later one.
class PngRows {
public:
    PngRows(int fd, int width, int height);
    // Into memory, appended to memory.
    PngRows(std::vector<unsigned char>& memory, int width, int height);
    ~PngRows();
    PngRows(const PngRows&) = delete;
    PngRows& operator=(const PngRows&) = delete;
    // The resolution the file gives, set before its header is written; 0: none.
    void setResolution(int dotsPerInch);
    bool writeHeader();
    // The next row, width pixels.
    bool writeRow(const std::uint32_t* pixels);
    bool finish();

    struct State;

private:
    std::unique_ptr<State> s_;
};

}  // namespace rubicel
