// SPDX-License-Identifier: MIT
// config_text_test.cpp: the configuration file's text and replacing a file safely.
#include "settings/config_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "support/temp_dir.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct FormatCase {
    const char* name;
    const char* folder;
    std::int16_t scheme, mode;
    const char* expected;
};

class FormatConfig : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatConfig, WritesThreeCrLfLinesWithSignAndTrailingSpace) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(formatConfig(c.folder, c.scheme, c.mode), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FormatConfig,
    testing::Values(
        FormatCase{"folder_with_separator", "/data/tiles/", 1, 0, "/data/tiles/\r\n 1 \r\n 0 \r\n"},
        FormatCase{"empty_folder_first_run", "", 1, 1, "\r\n 1 \r\n 1 \r\n"},
        FormatCase{"two_digit_scheme", "/m", 9, 3, "/m\r\n 9 \r\n 3 \r\n"},
        FormatCase{"negative_values_keep_their_minus", "/m", -1, -12, "/m\r\n-1 \r\n-12 \r\n"},
        FormatCase{"comma_and_spaces_unchanged", "/a, b/c ", 2, 2, "/a, b/c \r\n 2 \r\n 2 \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ParseCase {
    const char* name;
    std::string text;
    std::optional<std::string> folder;
    std::optional<std::int16_t> scheme, mode;
};

class ParseConfig : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseConfig, ReadsFieldsUntilTheFirstBadLine) {
    const ParseCase& c = GetParam();
    const ConfigFields f = parseConfig(c.text);
    EXPECT_EQ(f.datafolder, c.folder);
    EXPECT_EQ(f.scheme, c.scheme);
    EXPECT_EQ(f.mode, c.mode);
    EXPECT_EQ(f.complete(), c.mode.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ParseConfig,
    testing::Values(
        ParseCase{"crlf", "/data/tiles/\r\n 1 \r\n 3 \r\n", "/data/tiles/", 1, 3},
        ParseCase{"lf_only", "/data/tiles\n2\n0\n", "/data/tiles", 2, 0},
        ParseCase{"cr_only", "/data/tiles\r 4 \r 2 \r", "/data/tiles", 4, 2},
        ParseCase{"no_end_after_last_line", "/d\r\n 1 \r\n 2", "/d", 1, 2},
        ParseCase{"leading_spaces_of_folder_dropped", "   /d e \r\n0\r\n0\r\n", "/d e ", 0, 0},
        ParseCase{"comma_in_folder_read_whole", "/maps/a,b\r\n 1 \r\n 1 \r\n", "/maps/a,b", 1, 1},
        ParseCase{"tabs_around_number", "/d\r\n\t5\t\r\n -2 \r\n", "/d", 5, -2},
        ParseCase{"plus_sign", "/d\r\n+7\r\n+0\r\n", "/d", 7, 0},
        ParseCase{"empty_file", "", std::nullopt, std::nullopt, std::nullopt},
        ParseCase{"only_folder_line", "/d\r\n", "/d", std::nullopt, std::nullopt},
        ParseCase{"empty_folder_line", "\r\n 1 \r\n 1 \r\n", "", 1, 1},
        ParseCase{"mode_line_missing", "/d\r\n 3 \r\n", "/d", 3, std::nullopt},
        ParseCase{"scheme_not_a_number", "/d\r\nblue\r\n 1 \r\n", "/d", std::nullopt, std::nullopt},
        ParseCase{"mode_not_a_number", "/d\r\n 1 \r\n1x\r\n", "/d", 1, std::nullopt},
        ParseCase{"empty_number_line", "/d\r\n\r\n 1 \r\n", "/d", std::nullopt, std::nullopt},
        ParseCase{"blank_number_line", "/d\r\n   \r\n 1 \r\n", "/d", std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* name;
    const char* line;
    std::optional<std::int16_t> value;
};

class WholeNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(WholeNumber, AcceptsOnlyA16BitWholeNumber) {
    EXPECT_EQ(parseWholeNumber(GetParam().line), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WholeNumber,
    testing::Values(NumberCase{"as_written", " 1 ", 1}, NumberCase{"negative", "-1 ", -1},
                    NumberCase{"largest", "32767", 32767}, NumberCase{"smallest", "-32768", -32768},
                    NumberCase{"one_above_16_bits", "32768", std::nullopt},
                    NumberCase{"one_below_16_bits", "-32769", std::nullopt},
                    NumberCase{"fraction", "1.5", std::nullopt},
                    NumberCase{"two_numbers", "1 2", std::nullopt},
                    NumberCase{"sign_alone", "-", std::nullopt},
                    NumberCase{"two_signs", "+-1", std::nullopt},
                    NumberCase{"space_after_sign", "- 1", std::nullopt},
                    NumberCase{"empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct RangeCase {
    std::int16_t value, scheme, mode;
};

class HandEditedValues : public testing::TestWithParam<RangeCase> {};

TEST_P(HandEditedValues, OutsideTheMenusFallBackToZero) {
    EXPECT_EQ(usableScheme(GetParam().value), GetParam().scheme) << GetParam().value;
    EXPECT_EQ(usableMode(GetParam().value), GetParam().mode) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, HandEditedValues,
                         testing::Values(RangeCase{-1, 0, 0}, RangeCase{0, 0, 0}, RangeCase{1, 1, 1},
                                         RangeCase{3, 3, 3}, RangeCase{4, 4, 0}, RangeCase{5, 5, 0},
                                         RangeCase{6, 0, 0}, RangeCase{7, 7, 0}, RangeCase{9, 9, 0},
                                         RangeCase{10, 0, 0}, RangeCase{-32768, 0, 0}));

// Names in folder other than the ones expected: what a failed write may leave behind.
std::vector<std::string> strayFiles(const fs::path& folder, const std::vector<std::string>& expected) {
    std::vector<std::string> stray;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) stray.push_back(name);
    }
    return stray;
}

TEST(WriteFileReplacing, ReplacesTheOldFileWholeAndKeepsItsPermissions) {
    test::TempDir dir;
    const fs::path file = dir / "settings.cfg";
    writeBytes(file, "a much longer old text that must not survive in part\r\n");
    ::chmod(file.c_str(), 0640);

    EXPECT_EQ(writeFileReplacing(file.string(), "/new\r\n 2 \r\n 1 \r\n"), std::nullopt);
    EXPECT_EQ(readAll(file), "/new\r\n 2 \r\n 1 \r\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(strayFiles(dir.path(), {"settings.cfg"}).empty());
}

TEST(WriteFileReplacing, CreatesAMissingFileUnderTheCreationMask) {
    test::TempDir dir;
    const fs::path file = dir / "settings.cfg";
    const mode_t mask = ::umask(022);
    const auto error = writeFileReplacing(file.string(), "x\r\n");
    ::umask(mask);
    ASSERT_EQ(error, std::nullopt);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(readAll(file), "x\r\n");
}

TEST(WriteFileReplacing, WritesThroughASymbolicLink) {
    test::TempDir dir;
    const fs::path real = dir / "real.cfg";
    const fs::path link = dir / "link.cfg";
    writeBytes(real, "old");
    fs::create_symlink(real, link);

    ASSERT_EQ(writeFileReplacing(link.string(), "new"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readAll(real), "new");
}

struct FailureCase {
    const char* name;
    // Makes the situation in dir and returns the path to write.
    std::function<fs::path(const test::TempDir&)> arrange;
    std::vector<std::string> leftInFolder;
};

class WriteFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(WriteFailure, SaysWhyAndLeavesNothingBehind) {
    test::TempDir dir;
    const fs::path path = GetParam().arrange(dir);
    const auto error = writeFileReplacing(path.string(), "new text\r\n");
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->empty());
    EXPECT_EQ(strayFiles(dir.path(), GetParam().leftInFolder), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteFailure,
    testing::Values(
        FailureCase{"parent_is_a_regular_file",
                    [](const test::TempDir& d) {
                        writeBytes(d / "plain", "");
                        return d / "plain" / "settings.cfg";
                    },
                    {"plain"}},
        FailureCase{"folder_missing", [](const test::TempDir& d) { return d / "gone" / "settings.cfg"; }, {}},
        FailureCase{"a_folder_in_the_files_place",
                    [](const test::TempDir& d) {
                        fs::create_directory(d / "settings.cfg");
                        writeBytes(d / "settings.cfg" / "inside", "kept");
                        return d / "settings.cfg";
                    },
                    {"settings.cfg"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteFileReplacing, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    test::TempDir dir;
    const fs::path file = dir / "settings.cfg";
    writeBytes(file, "/old\r\n 0 \r\n 0 \r\n");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);

    EXPECT_TRUE(writeFileReplacing(file.string(), "/new\r\n 1 \r\n 1 \r\n").has_value());
    EXPECT_EQ(readAll(file), "/old\r\n 0 \r\n 0 \r\n");
}

}  // namespace
}  // namespace rubicel
