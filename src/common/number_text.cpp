// SPDX-License-Identifier: MIT
// number_text.cpp: the number formats of messages, captions and the configuration file.
#include "common/number_text.h"

#include <charconv>
#include <system_error>

namespace rubicel {

std::string plainText(long long n) { return std::to_string(n); }

std::string signedText(long long n) {
    std::string s = std::to_string(n);
    if (n >= 0) s.insert(s.begin(), ' ');
    return s;
}

template <typename Real>
static std::string shortestText(Real x) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, x);
    std::string s(buf, result.ptr);
    if (s[0] != '-') s.insert(s.begin(), ' ');
    return s;
}

std::string signedText(float x) { return shortestText(x); }
std::string signedText(double x) { return shortestText(x); }

}  // namespace rubicel
