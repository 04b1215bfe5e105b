// SPDX-License-Identifier: MIT
// save_bad_input_test.cpp: names and maps folders a map cannot be saved to: a clear
// message, the panel left open, and every file saved before left as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "platform/headless/headless_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
#include "windows/program.h"
#include "windows/save_panel.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;
using test::readAll;
using test::writeBytes;

// Every ordinary file below folder (links not followed) with its bytes.
std::map<fs::path, std::string> filesBelow(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !entry.is_symlink()) files[entry.path()] = readAll(entry.path());
    return files;
}

struct BadSave {
    const char* name;
    std::function<void(const fs::path& start)> arrange;  // after the panel has made Maps
    std::string typed;
    const char* message;    // start of the one message shown; empty: none
    bool needsPermissions;  // arranged by permission bits, which must bind
    const char* saved = ""; // the file the map is saved as, in Maps; empty: none
};

void PrintTo(const BadSave& c, std::ostream* os) { *os << c.name; }

class BadSaveName : public testing::TestWithParam<BadSave> {};

TEST_P(BadSaveName, NothingSavedBeforeIsLost) {
    const BadSave& c = GetParam();
    test::TempDir start;
    HeadlessPlatform ui;
    Program p{ui};
    p.map.startfolder = start.path().string();
    p.dmap.image.reset(40, 30, 0xFF336699u);

    // An earlier map, and a file beside the maps folder.
    m_savemap_Click(p);
    newmap_Change(p, "earlier");
    saveit_Click(p, 0);
    ASSERT_TRUE(ui.messages.empty());
    writeBytes(start / "mgr064srubicel.cfg", "/tiles/\r\n 1 \r\n 1 \r\n");
    c.arrange(start.path());
    const std::map<fs::path, std::string> before = filesBelow(start.path());

    p.dmap.image.reset(50, 20, 0xFF996633u);
    {
        std::unique_ptr<test::Unprivileged> unprivileged;
        if (c.needsPermissions) {
            test::openToOthers(start.path());
            unprivileged = std::make_unique<test::Unprivileged>();
            if (!unprivileged->permissionsBind()) GTEST_SKIP() << "permission bits do not bind here";
        }
        m_savemap_Click(p);
        ui.messages.clear();
        newmap_Change(p, c.typed);
        saveit_Click(p, 0);
    }

    if (*c.message == '\0') {
        EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    } else {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text.rfind(c.message, 0), 0u) << ui.messages[0].text;
        EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
        EXPECT_TRUE(ui.visible(Control::SaveBox)) << "the panel stays open to mend the name";
    }
    const std::map<fs::path, std::string> after = filesBelow(start.path());
    for (const auto& [path, bytes] : before) {
        const auto found = after.find(path);
        ASSERT_NE(found, after.end()) << path << " was lost";
        EXPECT_TRUE(found->second == bytes) << path << " was changed";
    }
    for (const auto& [path, bytes] : after) {
        if (!before.contains(path)) {
            EXPECT_EQ(path, start / "Maps" / c.saved) << "only the map named is added";
        }
    }
    EXPECT_EQ(after.size(), before.size() + (*c.saved ? 1 : 0));
}

const fs::path kMaps = "Maps";

INSTANTIATE_TEST_SUITE_P(
    Matrix, BadSaveName,
    testing::Values(
        BadSave{"empty_name", [](const fs::path&) {}, "", "", false},
        BadSave{"a_name_longer_than_the_file_system_takes", [](const fs::path&) {}, std::string(300, 'n'),
                "The map could not be saved to", false},
        BadSave{"a_huge_name", [](const fs::path&) {}, std::string(100000, 'h'), "The map could not be saved to",
                false},
        BadSave{"a_name_reaching_the_start_folder", [](const fs::path&) {}, "../mgr064srubicel.cfg",
                "The map was not saved.", false},
        BadSave{"a_name_reaching_far_outside", [](const fs::path&) {}, "../../../../../../../../tmp/x",
                "The map was not saved.", false},
        // The backslash is an ordinary character of a file name here.
        BadSave{"a_name_with_backslashes", [](const fs::path&) {}, "..\\..\\x", "", false, "..\\..\\x.BMP"},
        BadSave{"a_name_naming_a_folder",
                [](const fs::path& s) { fs::create_directory(s / kMaps / "sub.BMP"); }, "sub.BMP",
                "The map could not be saved to", false},
        BadSave{"a_maps_folder_that_is_a_file",
                [](const fs::path& s) {
                    fs::remove_all(s / kMaps);
                    writeBytes(s / kMaps, "not a folder");
                },
                "plan", "The map could not be saved to", false},
        BadSave{"a_read_only_maps_folder",
                [](const fs::path& s) {
                    fs::permissions(s / kMaps, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                                   fs::perms::others_exec);
                },
                "earlier", "The map could not be saved to", true}),
    [](const auto& info) { return std::string(info.param.name); });

// A link in the maps folder to a file outside it: saving under the link's name
// replaces the link in the maps folder, never the file it points at.
TEST(BadSaveName, ALinkInTheMapsFolderIsReplacedNotFollowedOutside) {
    test::TempDir start;
    HeadlessPlatform ui;
    Program p{ui};
    p.map.startfolder = start.path().string();
    p.dmap.image.reset(4, 4, 0xFF000000u);
    m_savemap_Click(p);
    writeBytes(start / "mgr064srubicel.cfg", "/tiles/\r\n 1 \r\n 1 \r\n");
    fs::create_symlink(start / "mgr064srubicel.cfg", start / kMaps / "link.BMP");

    newmap_Change(p, "link.BMP");
    saveit_Click(p, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readAll(start / "mgr064srubicel.cfg"), "/tiles/\r\n 1 \r\n 1 \r\n");
    EXPECT_FALSE(fs::is_symlink(start / kMaps / "link.BMP"));
    EXPECT_EQ(readAll(start / kMaps / "link.BMP").substr(0, 2), "BM");
}

}  // namespace
}  // namespace rubicel
