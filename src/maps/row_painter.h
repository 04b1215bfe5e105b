// SPDX-License-Identifier: MIT
// row_painter.h: colours the samples of one tile row into map pixels, for both renderers.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "colour/colour_table.h"
#include "common/program.h"
#include "common/raster.h"
#include "maps/tile_file.h"

namespace rubicel {

// Turns a stored sample into its elevation without writing it back (byteswap's
// value, for the inner loops).
inline std::int16_t decodeSample(std::int16_t stored) {
    return static_cast<std::int16_t>(__builtin_bswap16(static_cast<std::uint16_t>(stored)));
}

// Returns how many samples a drawing loop takes from column first, every step,
// while the column stays below limit; the loop body runs at least once.
inline int runLength(int first, int limit, int step) {
    return first < limit ? (limit - first + step - 1) / step : 1;
}

// Colours samples through the colour table as a loop calling Setcolours for each
// pixel would: elevations whose call shows a diagnostic go through Setcolours
// itself, and elevations that assign nothing repeat the colour before them. R, G
// and B are brought up to date by settle(), which must run before anything reads them.
class RowPainter {
public:
    explicit RowPainter(Program& p) : p_(p) {}

    // Called before each row: scheme, mode and bands may have changed while the
    // drawing yielded.
    void beginRow() {
        scheme_ = p_.colour.scheme;
        p_.colourTable.prepare(p_.colour, scheme_);
        current_ = packRgb(p_.colour.R, p_.colour.G, p_.colour.B);
        pending_ = false;
    }

    // Colours count samples of row from column first, every step; the first
    // written of them go to out[0 .. written-1], the rest are coloured undrawn
    // (pixels beyond the picture). Every column must lie within the row.
    void paint(const RowBuffer& row, int first, int step, int count, std::uint32_t* out, int written) {
        written = std::clamp(written, 0, count);
        const std::int16_t* samples = row.data() + first;
        run<true>(samples, step, written, out);
        run<false>(samples + std::ptrdiff_t(written) * step, step, count - written, nullptr);
    }

    // Leaves R, G, B as the calls so far would have left them.
    void settle() {
        if (!pending_) return;
        const ColourTable::Channels c = p_.colourTable.channels(lastAlt_);
        p_.colour.R = c.R;
        p_.colour.G = c.G;
        p_.colour.B = c.B;
        pending_ = false;
    }

private:
    template <bool kDraw>
    void run(const std::int16_t* samples, int step, int count, std::uint32_t* out) {
        const ColourTable& table = p_.colourTable;
        std::uint32_t current = current_;
        std::int16_t lastAlt = lastAlt_;
        bool pending = pending_;
        for (int i = 0; i < count; ++i) {
            const std::int16_t alt = decodeSample(samples[std::ptrdiff_t(i) * step]);
            std::uint32_t entry = table[alt];
            if (ColourTable::isPixel(entry)) [[likely]] {
                current = entry;
                lastAlt = alt;
                pending = true;
            } else if (entry == ColourTable::kAssignsNothing) {
                entry = current;
            } else {
                current_ = current;
                lastAlt_ = lastAlt;
                pending_ = pending;
                entry = callSetcolours(alt);
                current = current_;
                pending = false;
            }
            if constexpr (kDraw) out[i] = entry;
        }
        current_ = current;
        lastAlt_ = lastAlt;
        pending_ = pending;
    }

    // The slow path: the engine itself, for an elevation whose call shows a diagnostic.
    std::uint32_t callSetcolours(std::int16_t alt);

    Program& p_;
    std::int16_t scheme_ = 0;
    std::uint32_t current_ = 0;   // the pixel R, G, B stand for
    std::int16_t lastAlt_ = 0;    // elevation of the last table pixel
    bool pending_ = false;        // R, G, B not yet set from lastAlt_
};

// The status caption of a rendering: a fixed head, then the percentage as a
// signed number and "%". The text's memory is reused from row to row.
class StatusCaption {
public:
    explicit StatusCaption(std::string_view head) : text_(head), head_(text_.size()) {}
    const std::string& withPercent(long long percent) {
        char digits[24];
        char* begin = digits;
        if (percent >= 0) *begin++ = ' ';
        const auto end = std::to_chars(begin, digits + sizeof digits, percent).ptr;
        text_.resize(head_);
        text_.append(digits, end);
        text_ += '%';
        return text_;
    }

private:
    std::string text_;
    std::size_t head_;
};

// True when the rendering that started as generation must end quietly: another
// rendering began during its yield, or the program is ending.
inline bool renderingSuperseded(const Program& p, int generation) {
    return p.renderGeneration != generation || p.exiting;
}

// How many rows ahead of the one being drawn the kernel is asked to read.
inline constexpr int kRowsAhead = 4;

}  // namespace rubicel
