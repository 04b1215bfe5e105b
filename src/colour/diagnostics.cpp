// SPDX-License-Identifier: MIT
// diagnostics.cpp: the texts of the colouring diagnostics and their message boxes.
#include "colour/diagnostics.h"

#include "colour/colour_context.h"
#include "common/number_text.h"

namespace rubicel {
namespace {

MessageText& addFraction(MessageText& text, Fraction f) {
    switch (f.kind) {
        case Fraction::Kind::Zero: return text.number(0LL);
        case Fraction::Kind::Single: return text.number(f.single);
        case Fraction::Kind::Double: return text.number(f.dbl);
        case Fraction::Kind::None: return text;
    }
    return text;
}

}  // namespace

std::string shadingWarningText(std::int16_t h1, std::int16_t h2, std::int16_t h3, float u) {
    return MessageText().line("h1%=", h1).line("  h2%=", h2).line("  h3%=", h3).add("f=").number(u).str();
}

std::string shadingErrorText(std::string_view description, float u, std::int16_t h1, std::int16_t h2,
                             std::int16_t h3) {
    return MessageText("Function 'cmode': ")
        .add(description)
        .add("u=")
        .number(u)
        .newline()
        .line("h1%=", h1)
        .line("h2%=", h2)
        .line("h3%=", h3)
        .str();
}

std::string colourErrorText(std::string_view description, Fraction f, std::int16_t R, std::int16_t G,
                            std::int16_t B, std::int16_t alt) {
    MessageText text("Module 'Setcolours'");
    text.newline().add("Colour assignment error: ").add(description).newline().add("f=");
    addFraction(text, f);
    return text.newline().line("R=", R).line("  G=", G).line("   B=", B).newline().line("alt=", alt).str();
}

// An empty title stands for the program's title.
void MessageBoxSink::shadingAboveRange(std::int16_t h1, std::int16_t h2, std::int16_t h3, float u) {
    if (gate_.firstTime(Diagnostic::ShadingAboveRange))
        p_.ui.messageBox(shadingWarningText(h1, h2, h3, u), {}, Icon::None);
}

void MessageBoxSink::shadingError(std::string_view description, float u, std::int16_t h1, std::int16_t h2,
                                  std::int16_t h3) {
    if (gate_.firstTime(Diagnostic::ShadingError))
        p_.ui.messageBox(shadingErrorText(description, u, h1, h2, h3), {}, Icon::None);
}

void MessageBoxSink::colourError(std::string_view description, Fraction f, std::int16_t R, std::int16_t G,
                                 std::int16_t B, std::int16_t alt) {
    if (gate_.firstTime(Diagnostic::ColourError))
        p_.ui.messageBox(colourErrorText(description, f, R, G, B, alt), {}, Icon::None);
}

}  // namespace rubicel
