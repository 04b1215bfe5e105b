// SPDX-License-Identifier: MIT
// resolution.cpp: the automatic sampling step of an area map and the Resolution check mark.
#include "maps/resolution.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "maps/map_context.h"
#include "platform/platform.h"

namespace rubicel {
namespace {

// A span below `below` calls for `step`; spans past the last threshold take 20.
struct Threshold {
    int below;
    std::int16_t step;
};

constexpr std::array<Threshold, 5> kLongitudeSteps = {{{17, 1}, {31, 2}, {48, 3}, {65, 4}, {101, 8}}};
constexpr std::array<Threshold, 5> kLatitudeSteps = {{{13, 1}, {23, 2}, {37, 3}, {49, 4}, {70, 8}}};
constexpr std::int16_t kWidestStep = 20;
constexpr int kResolutionItems = 8;

std::int16_t stepForSpan(int span, const std::array<Threshold, 5>& table) {
    for (const Threshold& t : table)
        if (span < t.below) return t.step;
    return kWidestStep;
}

}  // namespace

std::int16_t automaticStep(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) {
    // The spans are taken as true differences: two far-apart 16-bit angles
    // give a wide span rather than a wrapped one.
    const int s = int(c) - int(a);
    const int t = int(b) - int(d);
    return std::max(stepForSpan(s, kLongitudeSteps), stepForSpan(t, kLatitudeSteps));
}

int resolutionItem(std::int16_t step) {
    if (step >= 1 && step <= 5) return kResolutionItems - step;
    if (step == 8) return 3;
    return 0;
}

std::int16_t selectresolution(Platform& ui, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) {
    const std::int16_t step = automaticStep(a, b, c, d);
    checkResolutionItem(ui, resolutionItem(step));
    return step;
}

std::int16_t selectresolution(MapContext& p, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) {
    return selectresolution(p.ui, a, b, c, d);
}

void checkResolutionItem(Platform& ui, int index) {
    assert(index >= 0 && index < kResolutionItems);
    for (int i = 0; i < kResolutionItems; ++i) ui.setMenuChecked(MenuId{MenuControl::m_siz, i}, false);
    ui.setMenuChecked(MenuId{MenuControl::m_siz, index}, true);
}

void checkResolutionItem(MapContext& p, int index) { checkResolutionItem(p.ui, index); }

}  // namespace rubicel
