// SPDX-License-Identifier: MIT
// number_text.cpp: the number formats of messages, captions and the configuration file.
#include "common/number_text.h"

#include <charconv>
#include <system_error>

namespace rubicel {

std::string plainText(long long n) { return std::to_string(n); }

std::string signedText(long long n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

template <typename Real>
static std::string shortestText(Real x) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, x);
    std::string s(buf, result.ptr);
    return (x < 0 || s[0] == '-') ? s : " " + s;
}

std::string signedText(float x) { return shortestText(x); }
std::string signedText(double x) { return shortestText(x); }

}  // namespace rubicel
