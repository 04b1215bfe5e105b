// SPDX-License-Identifier: MIT
// vertical_key.cpp: the picture of makekey, the vertical colour key: strip bottom to top, labels at its left.
#include <cmath>
#include <cstring>

#include "colour/colour_context.h"
#include "colour/colour_engine.h"
#include "common/rounding.h"
#include "keys/colour_keys.h"
#include "keys/key_painting.h"

namespace rubicel {

// The bottom label is the only one built from a number; its text is made below.
const VerticalKeyLabel kVerticalKeyLabels[15] = {
    {0.0, nullptr},            {0.067, "-6 000 m ..."}, {0.137, "-4 000 m ..."}, {0.205, "-2 000 m ..."},
    {0.272, "zero m ..."},     {0.342, "2 000 m ..."},  {0.407, "4 000 m ..."},  {0.475, "6 000 m ..."},
    {0.543, "8 000 m ..."},    {0.611, "10 000 m ..."}, {0.679, "12 000 m ..."}, {0.747, "14 000 m ..."},
    {0.815, "16 000 m ..."},   {0.883, "18 000 m ..."}, {0.951, "20 000 m ..."},
};

namespace {

// -8200 in plain digits followed by " m ...".
constexpr const char* kBottomLabel = "-8200 m ...";

}  // namespace

std::int16_t verticalKeyElevation(float alt) {
    const float tens = std::floor((alt + 9.0f) / 10.0f);
    return toInt16(10.0f * tens).value_or(0);
}

const char* verticalKeyLabel(int t, int h) {
    if (t == 0) return kBottomLabel;
    for (int i = 1; i < 15; ++i) {
        const VerticalKeyLabel& label = kVerticalKeyLabels[i];
        if (t == int(std::floor(double(h) * label.fraction))) return label.text;
    }
    return nullptr;
}

LabelField rightAligned(const char* label) {
    LabelField field;
    std::memset(field.text, ' ', kLabelField);
    field.text[kLabelField] = '\0';
    std::size_t n = std::strlen(label);
    if (n > std::size_t(kLabelField)) n = kLabelField;  // a longer text keeps its start
    std::memcpy(field.text + (kLabelField - int(n)), label, n);
    return field;
}

void paintVerticalKeyImage(ColourContext& p, Raster& image, std::int16_t scheme) {
    p.keyDiagnostics.beginDrawing();
    KeySurfaces surfaces = keySurfaces(image, kVerticalKeyLayout);
    paintVerticalKey(surfaces.strip, surfaces.legend, KeyFont::shared(), [&p, scheme](std::int16_t e) {
        Setcolours(p, scheme, e, p.keyDiagnostics);
        return packRgb(p.colour.R, p.colour.G, p.colour.B);
    });
}

}  // namespace rubicel
