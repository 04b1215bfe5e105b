// SPDX-License-Identifier: MIT
// diagnostics.h: the colouring diagnostics, their message texts, and showing each kind once per drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "colour/shading.h"

namespace rubicel {

struct ColourContext;

enum class Diagnostic { ShadingAboveRange, ShadingError, ColourError };

// A drawing (a map rendering or a key painting) calls beginDrawing() at its start;
// the engine then shows the first diagnostic of each kind, with the values of
// that first occurrence, and lets the drawing go on.
class DiagnosticGate {
public:
    void beginDrawing() { shown_ = {}; }
    // Returns true the first time kind is met in the current drawing.
    bool firstTime(Diagnostic kind) {
        bool& seen = shown_[static_cast<int>(kind)];
        const bool first = !seen;
        seen = true;
        return first;
    }

private:
    std::array<bool, 3> shown_{};
};

// Descriptions of the run-time errors the colouring can meet.
inline constexpr std::string_view kOverflow = "Overflow";
inline constexpr std::string_view kDivisionByZero = "Division by zero";
inline constexpr std::string_view kInvalidArgument = "Invalid procedure call or argument";

// Receives the diagnostics of the shading function and the colour engine. They
// are rare, so one virtual call on the diagnostic branch costs nothing on the
// normal path.
class DiagnosticSink {
public:
    // u > 1: the elevation lies above the band's shading range.
    virtual void shadingAboveRange(std::int16_t h1, std::int16_t h2, std::int16_t h3, float u) = 0;
    // The shading function failed; u is 0 when the failure came before u was formed.
    virtual void shadingError(std::string_view description, float u, std::int16_t h1, std::int16_t h2,
                              std::int16_t h3) = 0;
    // A channel did not fit 16 bits; R, G, B as they stand at the failure.
    virtual void colourError(std::string_view description, Fraction f, std::int16_t R, std::int16_t G,
                             std::int16_t B, std::int16_t alt) = 0;

protected:
    ~DiagnosticSink() = default;
};

// Message texts, lines separated by a line feed.
std::string shadingWarningText(std::int16_t h1, std::int16_t h2, std::int16_t h3, float u);
std::string shadingErrorText(std::string_view description, float u, std::int16_t h1, std::int16_t h2,
                             std::int16_t h3);
std::string colourErrorText(std::string_view description, Fraction f, std::int16_t R, std::int16_t G,
                            std::int16_t B, std::int16_t alt);

// Shows diagnostics as message boxes (OK button, no icon, the program's title),
// each kind once per drawing through gate.
class MessageBoxSink final : public DiagnosticSink {
public:
    MessageBoxSink(ColourContext& p, DiagnosticGate& gate) : p_(p), gate_(gate) {}
    void shadingAboveRange(std::int16_t h1, std::int16_t h2, std::int16_t h3, float u) override;
    void shadingError(std::string_view description, float u, std::int16_t h1, std::int16_t h2,
                      std::int16_t h3) override;
    void colourError(std::string_view description, Fraction f, std::int16_t R, std::int16_t G,
                     std::int16_t B, std::int16_t alt) override;

private:
    ColourContext& p_;
    DiagnosticGate& gate_;
};

// Records that a diagnostic was raised, and shows nothing.
class RecordingSink final : public DiagnosticSink {
public:
    void shadingAboveRange(std::int16_t, std::int16_t, std::int16_t, float) override { raised = true; }
    void shadingError(std::string_view, float, std::int16_t, std::int16_t, std::int16_t) override {
        raised = true;
    }
    void colourError(std::string_view, Fraction, std::int16_t, std::int16_t, std::int16_t,
                     std::int16_t) override {
        raised = true;
    }
    bool raised = false;
};

}  // namespace rubicel
