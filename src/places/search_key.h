// SPDX-License-Identifier: MIT
// search_key.h: the form in which names and typed text are compared when places are looked up.
#pragma once

#include <string>
#include <string_view>

namespace rubicel {

// The text as the place search compares it: Latin letters with diacritics
// folded to their ASCII letters ("Rupēs" to "rupes", "ß" to "ss"), combining
// marks dropped, ASCII letters in lower case, and every run of other ASCII
// characters (spaces, hyphens, apostrophes, dots, brackets) and general
// punctuation (typographic quotes, dashes) one space, none at either end:
// "Ma'adim Vallis" and "ma adim  vallis" both give "ma adim vallis", as the
// gazetteer's ascii_name column writes it. Other characters stay as they are.
std::string searchKey(std::string_view utf8);

}  // namespace rubicel
