#include "platform/profile.h"
#include "platform/profile_text.h"

#include "platform/appinfo.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>

namespace doorsel {
namespace {

using namespace std::string_literals;

std::string digits(size_t length)
{
    std::string s;
    for (size_t i = 0; i < length; ++i)
        s += static_cast<char>('0' + i % 10);
    return s;
}

// ReadIniValue / WriteIniValue: the platform's back-end (kernel32 on Windows).

TEST(IniValue, writeHoldingLineBreakOrNulIsRefusedAndChangesNothing)
{
    struct Case {
        std::string section, key, value;
    };
    const Case cases[] = {
        {"Options", "Key", "a\r\n[Evil]\r\nx=1"},
        {"Options", "Key", "a\nb"},
        {"Options", "Key", "a\rb"},
        {"Options", "Key", "a\0b"s},
        {"Opt\nions", "Key", "v"},
        {"Options\r", "Key", "v"},
        {"Opt\0ions"s, "Key", "v"},
        {"Options", "K\ney", "v"},
        {"Options", "Key\0x"s, "v"},
    };
    test::TestFolder folder;
    const std::string existing = folder.file("existing.ini");
    const std::string absent = folder.file("absent.ini");
    const std::string before = "[Options]\r\nKey=old\r\n";
    test::spit(existing, before);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.section + "|" + c.key + "|" + c.value));
        EXPECT_FALSE(WriteIniValue(c.section, c.key, c.value, existing));
        EXPECT_FALSE(profile::writeFileValue(c.section, c.key, c.value, existing));
        EXPECT_EQ(test::slurp(existing), before);
        EXPECT_FALSE(WriteIniValue(c.section, c.key, c.value, absent));
        EXPECT_FALSE(test::exists(absent));
    }
}

TEST(IniValue, absentFileSectionOrKeyReadsEmpty)
{
    test::TestFolder folder;
    const std::string path = folder.file("config.ini");
    EXPECT_EQ(ReadIniValue("Options", "Key", path), "");
    EXPECT_FALSE(test::exists(path)) << "a read created the file";
    test::spit(path, "[Other]\r\nKey=v\r\n[Options]\r\nOther=w\r\n");
    EXPECT_EQ(ReadIniValue("Missing", "Key", path), "");
    EXPECT_EQ(ReadIniValue("Options", "Key", path), "");
}

TEST(IniValue, firstWriteCreatesTheFileAndLaterWritesJoinIt)
{
    test::TestFolder folder;
    const std::string path = folder.file("config.ini");
    ASSERT_TRUE(WriteIniValue("Options", "Key", "v", path));
    EXPECT_EQ(test::slurp(path), "[Options]\r\nKey=v\r\n");
    ASSERT_TRUE(WriteIniValue("Options", "Second", "2", path));
    ASSERT_TRUE(WriteIniValue("Other", "Key", "3", path));
    ASSERT_TRUE(WriteIniValue("options", "KEY", "new", path));
    EXPECT_EQ(test::slurp(path), "[Options]\r\nKey=new\r\nSecond=2\r\n[Other]\r\nKey=3\r\n");
    EXPECT_EQ(ReadIniValue("Options", "Key", path), "new");
    EXPECT_EQ(ReadIniValue("Other", "Key", path), "3");
}

TEST(IniValue, writeIntoMissingFolderFailsAndCreatesNothing)
{
    test::TestFolder folder;
    const std::string missing = folder.file("missing");
    EXPECT_FALSE(WriteIniValue("Options", "Key", "v", missing + PathSeparator + "config.ini"));
    EXPECT_FALSE(test::exists(missing));
}

TEST(IniValue, valueBeyondTheBufferIsCutTo254Characters)
{
    test::TestFolder folder;
    const std::string path = folder.file("config.ini");
    test::spit(path, "[Options]\r\nKey=" + digits(300) + "\r\nQuoted=\"" + digits(300) + "\"\r\n");
    EXPECT_EQ(ReadIniValue("Options", "Key", path), digits(254));
    EXPECT_EQ(ReadIniValue("Options", "Quoted", path), digits(254));
}

TEST(IniValue, hugeLinesAreCutOnReadAndKeptOnWrite)
{
    test::TestFolder folder;
    const std::string path = folder.file("config.ini");
    const std::string huge = digits(100000);
    const std::string section = "[" + huge + "]\r\nKey=v\r\n";
    test::spit(path, "[Options]\r\nLong=" + huge + "\r\n" + huge + "\r\nAfter=a\r\n" + section);
    EXPECT_EQ(ReadIniValue("Options", "Long", path), digits(254));
    EXPECT_EQ(ReadIniValue("Options", "After", path), "a");
    ASSERT_TRUE(WriteIniValue("Options", "Short", "s", path));
    EXPECT_EQ(ReadIniValue("Options", "Short", path), "s");
    EXPECT_EQ(profile::readFileValue("Options", "Long", "", 200000, path), huge);

    // kernel32 takes names and values of at most 32K characters; ours have no limit.
    EXPECT_EQ(profile::readFileValue(huge, "Key", "", 255, path), "v");
    ASSERT_TRUE(profile::writeFileValue("Options", "Written", huge, path));
    EXPECT_EQ(profile::readFileValue("Options", "Written", "", 200000, path), huge);
    EXPECT_EQ(ReadIniValue("Options", "Written", path), digits(254));
}

TEST(IniValue, tenMegabyteFileIsReadAndWritten)
{
    test::TestFolder folder;
    const std::string path = folder.file("config.ini");
    std::string text;
    for (int i = 0; text.size() < 10'000'000; ++i)
        text += "[S" + std::to_string(i) + "]\r\nName=" + digits(100) + "\r\nKey=" + std::to_string(i) + "\r\n";
    text += "[Last]\r\nKey=end\r\n";
    test::spit(path, text);

    EXPECT_EQ(ReadIniValue("Last", "Key", path), "end");
    EXPECT_EQ(ReadIniValue("S0", "Key", path), "0");
    ASSERT_TRUE(WriteIniValue("S0", "Key", "first", path));
    ASSERT_TRUE(WriteIniValue("Last", "Added", "x", path));
    EXPECT_EQ(ReadIniValue("S0", "Key", path), "first");
    EXPECT_EQ(ReadIniValue("Last", "Added", path), "x");
    EXPECT_EQ(ReadIniValue("S1000", "Key", path), "1000");
}

TEST(IniValue, binaryJunkIsReadWithoutHarmAndCanStillBeWritten)
{
    // Bytes that mean something to the parser, often enough to make odd lines of them.
    const std::string meaningful = "[]=;\"' \t\r\n\0OptionsKey"s;
    std::mt19937 random(20011218);
    test::TestFolder folder;
    for (int round = 0; round < 100; ++round) {
        std::string junk(random() % 4096, '\0');
        for (char& c : junk)
            c = random() % 2 ? meaningful[random() % meaningful.size()] : static_cast<char>(random());
        const std::string path = folder.file("junk" + std::to_string(round) + ".ini");
        test::spit(path, junk);
        SCOPED_TRACE(::testing::PrintToString(junk));
        EXPECT_LE(ReadIniValue("Options", "Key", path).size(), 254u);
        const profile::WriteOutcome outcome = profile::writeString(junk, "Options", "Key", "written");
        ASSERT_TRUE(outcome.ok);
        EXPECT_EQ(profile::readString(outcome.text.value_or(junk), "Options", "Key", "", 255), "written");
    }
}

// Our own implementation: a write changes its target line and keeps every other byte.

struct WriteCase {
    const char* name;
    std::string before, section, key, value, after;
};

void PrintTo(const WriteCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProfileWrite : public ::testing::TestWithParam<WriteCase> { };

TEST_P(ProfileWrite, changesOnlyTheTargetLine)
{
    const WriteCase& c = GetParam();
    const profile::WriteOutcome outcome = profile::writeString(c.before, c.section, c.key, c.value);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.text.value_or("<unchanged>"), c.after);
    EXPECT_EQ(profile::readString(c.after, c.section, c.key, "<default>", 8192), c.value);

    test::TestFolder folder;
    const std::string path = folder.file("config.ini");
    test::spit(path, c.before);
    EXPECT_TRUE(profile::writeFileValue(c.section, c.key, c.value, path));
    EXPECT_EQ(test::slurp(path), c.after);
}

const WriteCase writeCases[] = {
    {"oddSpacingCommentsAndBlankLinesStay",
        "; head\r\n\r\n[ Options ]  ; note\r\n  A = 1 \r\n\r\n;c\r\n\tKey = old ; x\r\n\r\n[Other]\r\nB=2\r\n",
        "Options", "Key", "new",
        "; head\r\n\r\n[ Options ]  ; note\r\n  A = 1 \r\n\r\n;c\r\nKey=new\r\n\r\n[Other]\r\nB=2\r\n"},
    {"newKeyFollowsTheLastLineAndPrecedesBlankLines", "[Options]\r\nA=1\r\n; tail\r\n\r\n\r\n[Other]\r\nB=2\r\n",
        "Options", "Key", "v", "[Options]\r\nA=1\r\n; tail\r\nKey=v\r\n\r\n\r\n[Other]\r\nB=2\r\n"},
    {"replacedLineKeepsItsLfEnding", "[Options]\nA = 1\nKey=old\n\nB=2\n", "Options", "Key", "new",
        "[Options]\nA = 1\nKey=new\n\nB=2\n"},
    {"replacedLineKeepsItsCrEnding", "[Options]\rKey=old\rB=2\r", "Options", "Key", "new", "[Options]\rKey=new\rB=2\r"},
    {"newKeyInLfFileIsCrLf", "[Options]\nA=1\n\n[Other]\nB=2\n", "Options", "Key", "v",
        "[Options]\nA=1\nKey=v\r\n\n[Other]\nB=2\n"},
    {"newSectionAfterCrOnlyLines", "[Other]\rB=2\r", "Options", "Key", "v", "[Other]\rB=2\r[Options]\r\nKey=v\r\n"},
    {"newKeyAfterCrCrLfLines", "[Options]\r\r\nA=1\r\r\n", "Options", "Key", "v", "[Options]\r\r\nA=1\r\r\nKey=v\r\n"},
    {"unterminatedLastLineGetsBreakBeforeNewKey", "[Options]\r\nA=1", "Options", "Key", "v",
        "[Options]\r\nA=1\r\nKey=v\r\n"},
    {"unterminatedLastLineGetsBreakBeforeNewSection", "[Other]\r\nB=2", "Options", "Key", "v",
        "[Other]\r\nB=2\r\n[Options]\r\nKey=v\r\n"},
    {"unterminatedHeaderGetsBreakBeforeNewKey", "[Options]", "Options", "Key", "v", "[Options]\r\nKey=v\r\n"},
    {"unterminatedTargetLineStaysUnterminated", "[Options]\r\nKey=old", "Options", "Key", "new",
        "[Options]\r\nKey=new"},
    {"emptyFileGetsSectionAndKey", "", "Options", "Key", "v", "[Options]\r\nKey=v\r\n"},
    {"bytesAfterNulOnOtherLinesStay", "[Options]\r\nA=1\0junk\r\nKey=old\0x\r\n"s, "Options", "Key", "new",
        "[Options]\r\nA=1\0junk\r\nKey=new\r\n"s},
    {"keyOnlyInSecondCopyOfSectionIsAddedToTheFirst", "[Options]\r\nA=1\r\n[Options]\r\nKey=old\r\n", "Options", "Key",
        "new", "[Options]\r\nA=1\r\nKey=new\r\n[Options]\r\nKey=old\r\n"},
    {"keyBeforeAnyHeaderIsNotInTheSection", "Key=old\r\n[Options]\r\nA=1\r\n", "Options", "Key", "new",
        "Key=old\r\n[Options]\r\nA=1\r\nKey=new\r\n"},
    {"commentedKeyIsLeftAlone", "[Options]\r\n;Key=old\r\n", "Options", "Key", "new",
        "[Options]\r\n;Key=old\r\nKey=new\r\n"},
    {"nonAsciiNamesAreNotCaseFolded", "[Options]\r\nCl\xE9=old\r\n", "Options", "CL\xC9", "new",
        "[Options]\r\nCl\xE9=old\r\nCL\xC9=new\r\n"},
    {"utf8BomIsPartOfTheFirstLine", "\xEF\xBB\xBF[Options]\r\nKey=old\r\n", "Options", "Key", "new",
        "\xEF\xBB\xBF[Options]\r\nKey=old\r\n[Options]\r\nKey=new\r\n"},
    {"keyLineWithoutEqualsTakesTheValue", "[Options]\r\nKey\r\n", "Options", "Key", "", "[Options]\r\nKey=\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, ::testing::ValuesIn(writeCases),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(ProfileStoredValue, valueAlreadyStoredLeavesTheFileUntouched)
{
    struct Case {
        std::string before, value;
    };
    const Case cases[] = {
        {"[Options]\r\nKey=v\r\n", "v"},
        {"[ options ]  \n  key  =  v  \n", "v"},
        {"[Options]\r\nKey=v\r\n", "  v"},
        {"[Options]\r\nKey=\"v\"\r\n", "\"v\""},
        {"[Options]\r\nKey=v  \r\n", "v  "},
        {"[Options]\r\nKey=v\0junk\r\n"s, "v"},
    };
    test::TestFolder folder;
    const std::string path = folder.file("config.ini");
    // Whole seconds, which every file system keeps exactly.
    const std::filesystem::file_time_type longAgo = std::chrono::floor<std::chrono::seconds>(
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 365));
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.before));
        const profile::WriteOutcome outcome = profile::writeString(c.before, "Options", "Key", c.value);
        EXPECT_TRUE(outcome.ok);
        EXPECT_FALSE(outcome.text);

        for (const bool ours : {true, false}) {
            test::spit(path, c.before);
            std::filesystem::last_write_time(path, longAgo);
            EXPECT_TRUE(ours ? profile::writeFileValue("Options", "Key", c.value, path)
                             : WriteIniValue("Options", "Key", c.value, path));
            EXPECT_EQ(test::slurp(path), c.before);
            EXPECT_EQ(std::filesystem::last_write_time(path), longAgo) << "the file was rewritten";
        }
    }
}

} // namespace
} // namespace doorsel
