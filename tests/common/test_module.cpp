// SPDX-License-Identifier: MIT
// test_module.cpp: a module for loadable_module_test, built once as the program expects it and once for
// each way a module of another build differs (TEST_MODULE_VERSION, TEST_MODULE_LAYOUT, TEST_MODULE_OLD).
#include "common/test_module.h"

namespace {
int answer(int question) { return question + 1; }
const rubicel::test::TestModuleEntries kEntries = {answer};
}  // namespace

#ifdef TEST_MODULE_OLD
// A module from before the handshake: a bare entry point.
extern "C" __attribute__((visibility("default"))) int rubicel_test_answer_1(int question) { return answer(question); }
#else
#ifndef TEST_MODULE_VERSION
#define TEST_MODULE_VERSION rubicel::test::kTestModuleVersion
#endif
#ifndef TEST_MODULE_LAYOUT
#define TEST_MODULE_LAYOUT rubicel::test::kTestModuleLayout
#endif
RUBICEL_MODULE_HANDSHAKE(test, TEST_MODULE_VERSION, TEST_MODULE_LAYOUT, kEntries)
#endif
