// SPDX-License-Identifier: MIT
// file_replace_test.cpp: replacing a file whole: names, permissions, links, nothing left behind.
#include "common/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

mode_t permissionsOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(ReplaceFile, WritesAnyNameTheFolderTakesWithTheUsualPermissionsAndKeepsLinksSafe) {
    const std::string longest(251, 'n');  // with ".BMP", the longest name a folder takes
    const struct {
        const char* name;
        std::string file;  // what the caller asks to replace
        std::function<void(const fs::path& folder)> before;
        LinkAtPath links;
        std::optional<ReplaceFailure::Stage> failure;
        std::string written;  // the ordinary file holding the new contents after it
        mode_t permissions;
        std::set<std::string> after;  // everything in the folder afterwards
    } cases[] = {
        {"a new file under the creation mask", "new.cfg", [](const fs::path&) {}, LinkAtPath::Follow, {}, "new.cfg",
         0640, {"new.cfg"}},
        {"the longest name", longest + ".BMP", [](const fs::path&) {}, LinkAtPath::Replace, {}, longest + ".BMP",
         0640, {longest + ".BMP"}},
        {"an old file passes on its permissions", "old.cfg",
         [](const fs::path& f) {
             test::writeBytes(f / "old.cfg", "old");
             fs::permissions(f / "old.cfg", fs::perms(0604));
         },
         LinkAtPath::Follow, {}, "old.cfg", 0604, {"old.cfg"}},
        {"a followed link replaces the file it names", "link.cfg",
         [](const fs::path& f) {
             test::writeBytes(f / "real.cfg", "old");
             fs::create_symlink("real.cfg", f / "link.cfg");
         },
         LinkAtPath::Follow, {}, "real.cfg", 0640, {"link.cfg", "real.cfg"}},
        {"a replaced link gives way to the file", "link.BMP",
         [](const fs::path& f) {
             test::writeBytes(f / "real.cfg", "old");
             fs::create_symlink("real.cfg", f / "link.BMP");
         },
         LinkAtPath::Replace, {}, "link.BMP", 0640, {"link.BMP", "real.cfg"}},
        {"a link that leads round in a circle is left alone", "loop.cfg",
         [](const fs::path& f) {
             fs::create_symlink("round.cfg", f / "loop.cfg");
             fs::create_symlink("loop.cfg", f / "round.cfg");
         },
         LinkAtPath::Follow, ReplaceFailure::Link, "", 0, {"loop.cfg", "round.cfg"}},
    };
    struct Mask {
        mode_t old = ::umask(027);
        ~Mask() { ::umask(old); }
    } mask;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        c.before(dir.path());
        const auto failure = replaceFile((dir / c.file).string(), [](int fd) { return writeAll(fd, "new", 3); },
                                         c.links);
        EXPECT_EQ(namesIn(dir.path()), c.after) << "no temporary file is left";
        if (c.failure) {
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(failure->stage, *c.failure);
            EXPECT_TRUE(fs::is_symlink(dir / c.file));
            continue;
        }
        ASSERT_FALSE(failure.has_value()) << failure->stage << " " << failure->error;
        EXPECT_FALSE(fs::is_symlink(dir / c.written));
        EXPECT_EQ(test::readAll(dir / c.written), "new");
        EXPECT_EQ(permissionsOf(dir / c.written), c.permissions);
        if (c.written != c.file) EXPECT_TRUE(fs::is_symlink(dir / c.file));
    }
}

}  // namespace
}  // namespace rubicel
