// SPDX-License-Identifier: MIT
// data_path_test.cpp: shipped files are found beside the program, in share/rubicel, then in the build tree.
#include "common/data_path.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

TEST(DataPath, FoldersInOrderEachOnce) {
    const struct {
        const char* name;
        fs::path program, build;
        std::vector<fs::path> folders;
    } cases[] = {
        {"installed", "/usr/bin", "/src/build/share/rubicel",
         {"/usr/bin", "/usr/share/rubicel", "/src/build/share/rubicel"}},
        {"program in the build tree's app/: share/rubicel is the build folder", "/b/app", "/b/share/rubicel",
         {"/b/app", "/b/share/rubicel"}},
        {"trailing separators", "/opt/r/bin/", "/b/share/rubicel/", {"/opt/r/bin", "/opt/r/share/rubicel", "/b/share/rubicel"}},
        {"no build folder", "/usr/local/bin", "", {"/usr/local/bin", "/usr/local/share/rubicel"}},
        {"program folder unknown", "", "/b/share/rubicel", {"/b/share/rubicel"}},
    };
    for (const auto& c : cases) EXPECT_EQ(dataFolders(c.program, c.build), c.folders) << c.name;
}

TEST(DataPath, FirstFolderHoldingTheFileWins) {
    const struct {
        const char* name;
        std::vector<std::string> files, folders;  // relative to a scratch root
        const char* found;                         // "" when none
    } cases[] = {
        {"installed layout", {"share/rubicel/x.chm"}, {}, "share/rubicel/x.chm"},
        {"beside the program first", {"bin/x.chm", "share/rubicel/x.chm", "build/x.chm"}, {}, "bin/x.chm"},
        {"build tree last", {"build/x.chm"}, {}, "build/x.chm"},
        {"share before the build tree", {"share/rubicel/x.chm", "build/x.chm"}, {}, "share/rubicel/x.chm"},
        {"a folder of that name is no file", {"share/rubicel/x.chm"}, {"bin/x.chm"}, "share/rubicel/x.chm"},
        {"other names do not count", {"bin/y.chm", "share/rubicel/x.chm.bak"}, {}, ""},
        {"nowhere", {}, {"bin", "share/rubicel", "build"}, ""},
    };
    for (const auto& c : cases) {
        test::TempDir root;
        for (const auto& d : c.folders) fs::create_directories(root / d);
        for (const auto& f : c.files) {
            fs::create_directories((root / f).parent_path());
            std::ofstream(root / f) << f;
        }
        const auto folders = dataFolders(root / "bin", root / "build");
        const fs::path expected = *c.found ? (root / c.found).lexically_normal() : fs::path();
        EXPECT_EQ(findDataFile("x.chm", folders), expected) << c.name;
    }
}

TEST(DataPath, LinkToAFileCountsLinkToNothingDoesNot) {
    test::TempDir root;
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share/rubicel");
    std::ofstream(root / "target") << "grid";
    fs::create_symlink(root / "absent", root / "bin/grid.img");
    fs::create_symlink(root / "target", root / "share/rubicel/grid.img");
    EXPECT_EQ(findDataFile("grid.img", dataFolders(root / "bin", {})), root.path() / "share/rubicel/grid.img");
    EXPECT_EQ(findDataFile("", dataFolders(root / "bin", {})), fs::path());
}

TEST(DataPath, BuildTreeFoldersComeOnlyFromTheNoteBesideTheProgram) {
    const struct {
        const char* name;
        const char* note;  // nullptr: no note
        fs::path data, modules;
    } cases[] = {
        {"installed: no note", nullptr, "", ""},
        {"as the build writes it", "data=/b/share/rubicel\nmodules=/b/lib/rubicel\n", "/b/share/rubicel", "/b/lib/rubicel"},
        {"relative paths and other lines are passed over", "data=share/rubicel\n# modules=/x\nmodules=/b/m\nlib=/c",
         "", "/b/m"},
        {"no line ending, a folder with spaces", "modules=/b c/lib", "", "/b c/lib"},
    };
    for (const auto& c : cases) {
        test::TempDir program;
        if (c.note) std::ofstream(program / kBuildTreeNoteName) << c.note;
        const BuildTreeFolders folders = buildTreeFolders(program.path());
        EXPECT_EQ(folders.data, c.data) << c.name;
        EXPECT_EQ(folders.modules, c.modules) << c.name;
    }
    EXPECT_EQ(buildTreeFolders({}).data, fs::path());
}

TEST(DataPath, ThisProgramFindsTheBuildTreesGrid) {
    const fs::path exe = executableFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_TRUE(fs::is_regular_file(exe / "common_test")) << exe;
    // The build's note beside this program names the tree's folders.
    const BuildTreeFolders tree = buildTreeFolders(exe);
    EXPECT_TRUE(fs::is_regular_file(tree.data / "megt90n000cb.img")) << tree.data;
    EXPECT_TRUE(fs::is_directory(tree.modules)) << tree.modules;

    // The build copies the committed grid into share/rubicel; it is found and identical.
    const fs::path grid = dataPath("megt90n000cb.img");
    ASSERT_FALSE(grid.empty());
    auto bytes = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(bytes(grid), bytes(RUBICEL_MOLA_GRID));
    EXPECT_EQ(dataPath("no-such-file.img"), fs::path());
}

}  // namespace
}  // namespace rubicel
