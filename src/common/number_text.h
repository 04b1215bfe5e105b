// SPDX-License-Identifier: MIT
// number_text.h: the number formats of messages, captions and the configuration file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rubicel {

// Returns n in plain decimal with one leading space when not negative: " 5", "-5".
std::string signedText(long long n);

// Returns a single-precision value as the program prints fractions: plain decimal,
// shortest form that reads back to the same float, one leading space when not negative.
std::string signedText(float x);
std::string signedText(double x);

// Returns n in plain decimal with no padding: "5", "-5".
std::string plainText(long long n);

// Builds the text of a diagnostic message box, one piece at a time:
// MessageText("Module 'Setcolours'").newline().add("alt=").number(alt).
class MessageText {
public:
    explicit MessageText(std::string_view head = {}) : text_(head) {}
    MessageText& add(std::string_view s) { text_ += s; return *this; }
    MessageText& number(long long n) { text_ += signedText(n); return *this; }
    MessageText& number(float x) { text_ += signedText(x); return *this; }
    MessageText& number(double x) { text_ += signedText(x); return *this; }
    // Line feed (character 10), the line break of every message.
    MessageText& newline() { text_ += '\n'; return *this; }
    MessageText& line(std::string_view name, long long n) { return add(name).number(n); }
    const std::string& str() const { return text_; }
private:
    std::string text_;
};

}  // namespace rubicel
