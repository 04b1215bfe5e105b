// SPDX-License-Identifier: MIT
// colour_table.h: the 65536-entry elevation-to-pixel table that the renderers read.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "colour/colour_state.h"

namespace rubicel {

// Entry for each elevation, built from the engine itself. An entry whose top byte
// is 0xFF is the packed pixel (packRgb of the engine's R, G, B). Other entries
// send the caller to the slow path (call Setcolours for that pixel):
//   kAssignsNothing: the call assigns nothing; the pixel keeps the previous colour;
//   any entry with kRaisesDiagnostic set: the call shows a diagnostic.
// Renderers go through colourRow (colour_row.h), which keeps that contract.
class ColourTable {
public:
    static constexpr std::uint32_t kAssignsNothing = 0x00000000u;
    static constexpr std::uint32_t kRaisesDiagnostic = 0x01000000u;
    static constexpr bool isPixel(std::uint32_t entry) { return entry >= 0xFF000000u; }

    ColourTable();
    // Rebuilds the table when scheme, mode or band table differ from those it was
    // built for. Shows no message box. Leaves colour.R, G, B as they were.
    void prepare(const ColourState& colour, std::int16_t scheme);
    std::uint32_t operator[](std::int16_t alt) const { return entries_[std::uint16_t(alt)]; }

    // The engine's 16-bit channels behind a pixel entry (they may lie outside
    // 0..255), so that a drawing can leave R, G, B as a call-by-call loop would.
    // alt must have a pixel entry.
    struct Channels { std::int16_t R, G, B; };
    Channels channels(std::int16_t alt) const;

private:
    std::unique_ptr<std::array<std::uint32_t, 65536>> entriesStorage_;
    std::uint32_t* entries_;
    // Key of the table in force: the scheme, and the mode and band table in key_.
    bool built_ = false;
    std::int16_t scheme_ = 0;
    ColourState key_{};
};

}  // namespace rubicel
