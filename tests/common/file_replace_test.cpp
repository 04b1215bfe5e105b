// SPDX-License-Identifier: MIT
// file_replace_test.cpp: replacing files whole: names, permissions, links, devices and pipes, sets all or none.
#include "common/file_replace.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>

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
        if (c.written != c.file) {
            EXPECT_TRUE(fs::is_symlink(dir / c.file));
        }
    }
}

// What is at path, as lstat tells it.
mode_t kindOf(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

TEST(ReplaceFile, WritesIntoDevicesAndPipesAndNeverReplacesThem) {
    // A character device the test may make, or else the link a program is given most often.
    const auto device = [](const fs::path& at) {
        if (::mknod(at.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) fs::create_symlink("/dev/null", at);
    };
    const struct {
        const char* name;
        std::function<void(const fs::path& out)> before;
        LinkAtPath links;
        NoReader noReader;
        std::optional<int> refused;  // the error of a Kind failure
    } cases[] = {
        {"a regular file is replaced", [](const fs::path& o) { test::writeBytes(o, "old"); }, LinkAtPath::Replace,
         NoReader::Wait, {}},
        {"a pipe is written into", [](const fs::path& o) { ASSERT_EQ(::mkfifo(o.c_str(), 0600), 0); },
         LinkAtPath::Replace, NoReader::Wait, {}},
        {"a link to a pipe is written through",
         [](const fs::path& o) {
             ASSERT_EQ(::mkfifo((o.string() + ".pipe").c_str(), 0600), 0);
             fs::create_symlink(o.filename().string() + ".pipe", o);
         },
         LinkAtPath::Replace, NoReader::Wait, {}},
        {"a pipe nobody reads is refused when waiting is not wanted",
         [](const fs::path& o) { ASSERT_EQ(::mkfifo(o.c_str(), 0600), 0); }, LinkAtPath::Follow, NoReader::Refuse,
         EPIPE},
        {"a character device is written into", device, LinkAtPath::Follow, NoReader::Refuse, {}},
        {"a folder is refused", [](const fs::path& o) { fs::create_directory(o); }, LinkAtPath::Replace,
         NoReader::Wait, EISDIR},
        {"a socket is refused",
         [](const fs::path& o) {
             const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             o.string().copy(address.sun_path, sizeof address.sun_path - 1);
             ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
             ::close(s);
         },
         LinkAtPath::Replace, NoReader::Wait, ENXIO},
    };
    // One writer goes from start to end, the other seeks, as a BMP's rows do.
    const std::function<bool(int)> inOrder = [](int fd) { return writeAll(fd, "new", 3); };
    const std::function<bool(int)> seeking = [](int fd) {
        return ::pwrite(fd, "w", 1, 2) == 1 && ::pwrite(fd, "ne", 2, 0) == 2;
    };
    for (const auto& c : cases)
        for (const Writes writes : {Writes::InOrder, Writes::AnyOrder}) {
            SCOPED_TRACE(std::string(c.name) + (writes == Writes::InOrder ? ", in order" : ", seeking"));
            test::TempDir dir;
            const fs::path out = dir / "out";
            c.before(out);
            const fs::path reached = fs::is_symlink(out) && fs::exists(out) ? fs::canonical(out) : out;
            const mode_t kind = kindOf(reached), atPath = kindOf(out);
            const std::set<std::string> names = namesIn(dir.path());
            // A pipe held open for reading takes what is written without waiting.
            const int reader = S_ISFIFO(kind) && !c.refused ? ::open(reached.c_str(), O_RDONLY | O_NONBLOCK) : -1;
            const auto failure =
                replaceFile(out.string(), writes == Writes::InOrder ? inOrder : seeking, c.links, writes, c.noReader);
            char read[8] = {};
            if (reader >= 0) {
                EXPECT_EQ(::read(reader, read, sizeof read), 3);
                ::close(reader);
            }
            EXPECT_EQ(namesIn(dir.path()), names) << "nothing new, nothing left behind";
            EXPECT_EQ(kindOf(reached), kind) << "what was there is still there";
            EXPECT_EQ(kindOf(out), atPath);
            if (c.refused) {
                ASSERT_TRUE(failure.has_value());
                EXPECT_EQ(failure->stage, ReplaceFailure::Kind);
                EXPECT_EQ(failure->error, *c.refused);
                continue;
            }
            ASSERT_FALSE(failure.has_value()) << describeFailure(*failure);
            if (reader >= 0) {
                EXPECT_STREQ(read, "new");
            }
            if (S_ISREG(kind)) {
                EXPECT_EQ(test::readAll(out), "new");
            }
        }
}

TEST(FileSet, PutsBackEveryOldFileWhenALaterOneCannotTakeItsPlace) {
    const std::function<bool(int)> writeNew = [](int fd) { return writeAll(fd, "new", 3); };
    test::TempDir dir;
    test::writeBytes(dir / "a", "old a");
    fs::create_symlink("a", dir / "link");
    FileSet set;
    for (const char* name : {"a", "b", "link", "c"})
        ASSERT_FALSE(set.write((dir / name).string(), writeNew, LinkAtPath::Replace));
    // A folder holding a file, which no rename replaces, comes in the last file's way.
    fs::create_directories(dir / "c" / "inside");
    const auto failure = set.commit();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->stage, ReplaceFailure::Replace);
    EXPECT_EQ(test::readAll(dir / "a"), "old a");
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a", "c", "link"})) << "no new file, no temporary";
}

}  // namespace
}  // namespace rubicel
