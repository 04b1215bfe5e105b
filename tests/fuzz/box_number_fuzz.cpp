// SPDX-License-Identifier: MIT
// box_number_fuzz.cpp: any text typed into the custom-area boxes: the number reader
// against the standard library's reading, then the boxes' checks, which must leave
// every stored value inside its box's range whatever was typed.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/headless/headless_platform.h"
#include "windows/custom_area.h"
#include "windows/program.h"

namespace rubicel {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of text read by strtod, after the longest prefix of
// the form blanks, sign, digits, point, digits, exponent has been cut out (strtod
// alone would also take "inf", "nan" and hexadecimal).
std::optional<std::int16_t> plainBoxNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && isDigit(text[i])) ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, digits = true;
    }
    if (!digits) return std::int16_t{0};
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    const std::string number(text.substr(start, i - start));
    const double value = std::nearbyint(std::strtod(number.c_str(), nullptr));
    if (!(value >= -32768.0 && value <= 32767.0)) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

void checkRanges(const Program& p) {
    fuzz::expect(p.map.maparea[0] >= -180 && p.map.maparea[0] <= 180, "the centre longitude stays in its range");
    fuzz::expect(p.map.maparea[1] >= -85 && p.map.maparea[1] <= 85, "the centre latitude stays in its range");
    fuzz::expect(p.getArea.halfwidth >= 0 && p.getArea.halfwidth <= 25, "the half width stays in its range");
    fuzz::expect(p.getArea.halfheight >= 0 && p.getArea.halfheight <= 25, "the half height stays in its range");
}

}  // namespace
}  // namespace rubicel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rubicel;
    {
        const std::string_view whole(reinterpret_cast<const char*>(data), size);
        fuzz::expect(readBoxNumber(whole) == plainBoxNumber(whole), "a box reads its number as strtod does");
    }

    // A session of typing: each step puts a text into a box or clicks one.
    FuzzedDataProvider in(data, size);
    HeadlessPlatform ui;
    Program p{ui};
    while (in.remaining_bytes() > 0) {
        const auto box = static_cast<AreaBox>(in.ConsumeIntegralInRange(0, 3));
        if (in.ConsumeIntegralInRange(0, 7) == 0) {
            boxClick(p, box);
        } else {
            const std::string text = in.ConsumeRandomLengthString(24);
            setBoxText(p, box, text);
            const std::optional<std::int16_t> v = readBoxNumber(text);
            if (box == AreaBox::longw && v && *v >= -180 && *v <= 180)
                fuzz::expect(p.map.maparea[0] == *v, "an accepted centre longitude is stored");
        }
        checkRanges(p);
    }
    return 0;
}
