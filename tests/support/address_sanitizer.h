// SPDX-License-Identifier: MIT
// address_sanitizer.h: RUBICEL_UNDER_ASAN, defined when the tests are built with AddressSanitizer (GCC or Clang).
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define RUBICEL_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RUBICEL_UNDER_ASAN 1
#endif
#endif
