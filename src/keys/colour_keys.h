// SPDX-License-Identifier: MIT
// colour_keys.h: the vertical colour key Key and the horizontal key Hkey.
#pragma once

#include <cstdint>

#include "keys/key_surface.h"
#include "platform/platform.h"

namespace rubicel {

struct ColourContext;

// Caption of both key windows.
inline constexpr const char* kKeyCaption = "Colour Key";

// Both keys span -8200 m to +21250 m whatever the user range.
inline constexpr float kKeyLowest = -8200.0f;
inline constexpr float kKeySpan = 29450.0f;

// Design layout of a key window, twips: the window's place on the screen and its
// client size, the frame in the window, the strip and the legend in the frame.
struct KeyLayout {
    int screenLeft, screenTop;
    TwipSize client;
    TwipRect frame;
    TwipRect strip;
    TwipRect legend;
};

inline constexpr KeyLayout kVerticalKeyLayout{
    13400, 570, {1875, 8310}, {100, 0, 1695, 8235}, {960, 420, 495, 7635}, {120, 240, 840, 7845}};
inline constexpr KeyLayout kHorizontalKeyLayout{
    0, 9800, {11790, 1245}, {60, 0, 11655, 1215}, {360, 240, 11175, 495}, {120, 760, 11415, 375}};

// The layout in pixels of the window's raster.
struct KeyGeometry {
    PixelRect client;
    PixelRect frame;
    PixelRect strip;        // outer, border included
    PixelRect stripInner;   // inside the strip's one-pixel border
    PixelRect legend;       // no border
};
KeyGeometry keyGeometry(const KeyLayout& layout);

// One label of the vertical key: its text and the fraction of the strip's height
// that places it (the bottom label has none: it sits at the strip's bottom).
struct VerticalKeyLabel {
    double fraction;
    const char* text;
};
// The labels in the order their tests are tried; the first is the bottom label.
extern const VerticalKeyLabel kVerticalKeyLabels[15];
inline constexpr int kLabelField = 13;

// One tick of the horizontal key with its label, legend twips.
struct HorizontalKeyTick {
    int tickX;
    int labelX;
    const char* text;
};
extern const HorizontalKeyTick kHorizontalKeyTicks[15];
inline constexpr int kTickLength = 60;

// Returns the elevation the vertical key hands the engine for the running
// elevation alt: alt down to a whole metre, then up to a multiple of 10 m.
std::int16_t verticalKeyElevation(float alt);
// Returns the elevation the horizontal key hands the engine: alt to the
// nearest whole metre, halves to even.
std::int16_t horizontalKeyElevation(float alt);
// Returns the label of the vertical key's row t (twips from the strip's top,
// strip height h), or null when the row has none.
const char* verticalKeyLabel(int t, int h);
// Returns label right-aligned in the 13-character field, padded with spaces.
struct LabelField {
    char text[kLabelField + 1];
};
LabelField rightAligned(const char* label);

// Paints a key window's picture as the window shows it before any painting:
// button face, the frame's edge, the strip's border and background.
void blankKeyImage(Raster& image, const KeyLayout& layout);
// Paints the whole vertical key into image under scheme (handed to Setcolours
// unchanged), its diagnostics shown afresh.
void paintVerticalKeyImage(ColourContext& p, Raster& image, std::int16_t scheme);
// Paints the whole horizontal key; as paintVerticalKeyImage.
void paintHorizontalKeyImage(ColourContext& p, Raster& image, std::int16_t scheme);

}  // namespace rubicel
