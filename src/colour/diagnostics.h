// SPDX-License-Identifier: MIT
// diagnostics.h: shows each kind of colouring diagnostic once per drawing.
#pragma once

#include <array>

namespace rubicel {

enum class Diagnostic { ShadingAboveRange, ShadingError, ColourError };

// A drawing (a map rendering or a key painting) calls beginDrawing() at its start;
// the engine then shows the first diagnostic of each kind and lets the drawing go on.
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

}  // namespace rubicel
