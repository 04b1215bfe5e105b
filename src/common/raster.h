// SPDX-License-Identifier: MIT
// raster.h: an RGB picture in memory, one 32-bit 0xFFRRGGBB word per pixel.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace rubicel {

// Allocates zeroed memory (calloc, which needs no clearing for the system's
// fresh pages) and leaves elements made without a value as they are, so a large
// block reads 0 and stays untouched, taking no memory, until written.
template <class T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <class U>
    ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        void* p = std::calloc(n, sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

// Packs three colour channels into one pixel word. The engine can yield channels
// outside 0..255 for elevations beyond -8200..21250 m; they are clamped here, when
// the pixel is made, and nowhere earlier.
constexpr std::uint32_t packRgb(int r, int g, int b) {
    auto clamp = [](int v) { return std::uint32_t(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return 0xFF000000u | (clamp(r) << 16) | (clamp(g) << 8) | clamp(b);
}
constexpr int redOf(std::uint32_t p) { return int((p >> 16) & 0xFF); }
constexpr int greenOf(std::uint32_t p) { return int((p >> 8) & 0xFF); }
constexpr int blueOf(std::uint32_t p) { return int(p & 0xFF); }

// Colour of map pixels that no row or column reaches: the light grey of a
// window's button face, so undrawn picture stands apart from any elevation colour.
constexpr std::uint32_t kPictureBackground = packRgb(240, 240, 240);

// The memory layout matches QImage::Format_RGB32, so a window can paint the raster
// without copying it.
class Raster {
public:
    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }
    std::uint32_t* row(int y) { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
    const std::uint32_t* row(int y) const { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
    std::uint32_t pixel(int x, int y) const { return row(y)[x]; }
    std::uint32_t* data() { return pixels_.data(); }
    const std::uint32_t* data() const { return pixels_.data(); }

    // Sets the size and fills every pixel with colour. The memory is kept when the
    // new size needs no more of it and at least half of it; a much smaller picture
    // hands the rest back, so one very large map does not hold its memory for the
    // rest of the run.
    void reset(int width, int height, std::uint32_t colour = kPictureBackground) {
        width_ = std::max(0, width);
        height_ = std::max(0, height);
        const std::size_t count = std::size_t(width_) * std::size_t(height_);
        releasedBytes_ = 0;
        if (writtenAsDrawn_)
            Pixels(count).swap(pixels_);
        else if (count < pixels_.capacity() / 2)
            Pixels(count, colour).swap(pixels_);
        else
            pixels_.assign(count, colour);
    }
    // Sets the size as a picture box does: the pixels the old and the new size
    // share keep their colour, the others get colour. Nothing changes when the
    // size is the same.
    void resize(int width, int height, std::uint32_t colour = kPictureBackground) {
        width = std::max(0, width);
        height = std::max(0, height);
        if (width == width_ && height == height_) return;
        if (writtenAsDrawn_ && empty()) return reset(width, height);
        Pixels next(std::size_t(width) * std::size_t(height), colour);
        const int keepWidth = std::min(width, width_);
        for (int y = 0; y < std::min(height, height_); ++y)
            std::copy_n(row(y), keepWidth, next.data() + std::size_t(y) * std::size_t(width));
        pixels_.swap(next);
        width_ = width;
        height_ = height;
        releasedBytes_ = 0;
    }
    std::size_t capacity() const { return pixels_.capacity(); }
    void fill(std::uint32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }
    void setPixel(int x, int y, std::uint32_t colour) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) row(y)[x] = colour;
    }

    // A picture written out as its rows are drawn and never shown (a very large
    // map of the command-line renderer): a reset, or a resize of an empty
    // picture, takes its memory untouched, so the system provides it only as
    // rows are drawn; its pixels read 0 until drawn (no colour is filled in).
    void setWrittenAsDrawn(bool on) { writtenAsDrawn_ = on; }
    bool writtenAsDrawn() const { return writtenAsDrawn_; }
    // Of such a picture, once rows 0 to y - 1 are written out: hands the memory
    // of their whole pages back to the system; they read 0 afterwards.
    void releaseRowsBefore(int y);

private:
    using Pixels = std::vector<std::uint32_t, ZeroedAllocator<std::uint32_t>>;
    int width_ = 0;
    int height_ = 0;
    bool writtenAsDrawn_ = false;
    std::size_t releasedBytes_ = 0;  // from the start of the pixels, whole pages
    Pixels pixels_;
};

}  // namespace rubicel
