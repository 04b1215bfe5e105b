// SPDX-License-Identifier: MIT
// test_module.h: what loadable_module_test and its test module agree on.
#pragma once

#include "common/loadable_module.h"

namespace rubicel::test {

struct TestModuleEntries {
    int (*answer)(int question);
};

inline constexpr std::uint32_t kTestModuleVersion = 3;
inline constexpr std::uint64_t kTestModuleLayout = layoutKey({sizeof(TestModuleEntries), alignof(TestModuleEntries)});

inline constexpr ModuleInterface kTestModule = {
    "test", "librubicel-test.so", RUBICEL_MODULE_SYMBOL_NAME(test), kTestModuleVersion, kTestModuleLayout,
};

}  // namespace rubicel::test
