// SPDX-License-Identifier: MIT
// png_writer.h: a raster as an 8-bit RGB PNG file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace rubicel {

class Raster;

// Writes image to path, replacing an existing file whole or not at all. Returns a
// description of the failure, or nothing.
[[nodiscard]] std::optional<std::string> writePng(const Raster& image, const std::string& path);

// The same PNG written whole into the open file fd, from its start to its end;
// false with errno set when a write fails.
bool writePngTo(int fd, const Raster& image);

// The same PNG written into the open file fd a row at a time, from the top. A
// step that fails returns false with errno set, and so does every later one.
class PngRows {
public:
    PngRows(int fd, int width, int height);
    ~PngRows();
    PngRows(const PngRows&) = delete;
    PngRows& operator=(const PngRows&) = delete;
    bool writeHeader();
    // The next row, width pixels.
    bool writeRow(const std::uint32_t* pixels);
    bool finish();

    struct State;

private:
    std::unique_ptr<State> s_;
};

}  // namespace rubicel
