// SPDX-License-Identifier: MIT
// loadable_module_test.cpp: a module is loaded only when its handshake shows it lays out its data as the program does.
#include "common/loadable_module.h"

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_module.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

// Each kind of test module lies in a folder of its own below RUBICEL_TEST_MODULES.
fs::path builtModule(const std::string& kind) { return fs::path(RUBICEL_TEST_MODULES) / kind; }

TEST(LoadableModule, OnlyAModuleOfThisLayoutIsLoaded) {
    const struct {
        const char* name;
        std::vector<std::string> folders;  // test modules' kinds; "junk" a text file of the name, "none" no file
        const char* problem;                // "" when it loads
    } cases[] = {
        {"as the program expects it", {"good"}, ""},
        {"the first folder holding the file wins", {"none", "good", "layout"}, ""},
        {"even when that module is refused", {"layout", "good"}, "passes its data in another layout"},
        {"older, without a handshake", {"old"}, "is of another version of Rubicel (it has no rubicel_module_test)"},
        {"another interface version", {"version"}, "(interface 2, layout "},
        {"another layout", {"layout"}, "passes its data in another layout"},
        {"not a module", {"junk"}, "does not load ("},
        {"nowhere", {"none", "none"}, "the test module librubicel-test.so is not installed (looked in "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir scratch;
        std::vector<fs::path> folders;
        for (const auto& kind : c.folders) {
            if (kind == "junk") {
                folders.push_back(scratch.path());
                std::ofstream(scratch / test::kTestModule.file) << "not a module";
            } else {
                folders.push_back(kind == "none" ? scratch / "none" : builtModule(kind));
            }
        }
        const LoadedModule module = loadModule(test::kTestModule, folders);
        if (!*c.problem) {
            ASSERT_NE(module.entries, nullptr) << module.problem;
            EXPECT_EQ(static_cast<const test::TestModuleEntries*>(module.entries)->answer(41), 42);
            continue;
        }
        EXPECT_EQ(module.entries, nullptr);
        EXPECT_NE(module.problem.find(c.problem), std::string::npos) << module.problem;
        // The message names the file it refused.
        if (c.folders[0] != "none") {
            EXPECT_NE(module.problem.find((folders[0] / test::kTestModule.file).string()), std::string::npos)
                << module.problem;
        }
    }
}

TEST(LoadableModule, LayoutKeyTellsEveryNumberAndItsPlace) {
    EXPECT_EQ(layoutKey({8, 16}), layoutKey({8, 16}));
    EXPECT_NE(layoutKey({8, 16}), layoutKey({16, 8}));
    EXPECT_NE(layoutKey({8, 16}), layoutKey({8, 17}));
    EXPECT_NE(layoutKey({8}), layoutKey({8, 0}));
}

}  // namespace
}  // namespace rubicel
