// SPDX-License-Identifier: MIT
// horizontal_key.cpp: the picture of makeHkey, the horizontal colour key: strip left to right, ticks and labels below.
#include "colour/colour_context.h"
#include "colour/colour_engine.h"
#include "common/rounding.h"
#include "keys/colour_keys.h"
#include "keys/key_painting.h"

namespace rubicel {

const HorizontalKeyTick kHorizontalKeyTicks[15] = {
    {280, 0, "-8000 m"},     {1060, 820, "-6000 m"},  {1820, 1560, "-4000 m"}, {2580, 2320, "-2000 m"},
    {3340, 3280, "0 m"},     {4120, 3860, "2000 m"},  {4880, 4620, "4000 m"},  {5640, 5380, "6000 m"},
    {6400, 6140, "8000 m"},  {7140, 6840, "10000 m"}, {7880, 7580, "12000 m"}, {8640, 8340, "14000 m"},
    {9400, 9100, "16000 m"}, {10160, 9860, "18000 m"}, {10920, 10620, "20000 m"},
};

std::int16_t horizontalKeyElevation(float alt) { return toInt16(alt).value_or(0); }

void paintHorizontalKeyImage(ColourContext& p, Raster& image, std::int16_t scheme) {
    p.keyDiagnostics.beginDrawing();
    KeySurfaces surfaces = keySurfaces(image, kHorizontalKeyLayout);
    paintHorizontalKey(surfaces.strip, surfaces.legend, KeyFont::shared(), [&p, scheme](std::int16_t e) {
        Setcolours(p, scheme, e, p.keyDiagnostics);
        return packRgb(p.colour.R, p.colour.G, p.colour.B);
    });
}

}  // namespace rubicel
