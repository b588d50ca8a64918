#include "browse/textsearch.h"
#include "platform/appinfo.h"
#include "platform/legacytext.h"
#include "platform/randomlist.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace doorsel {
namespace {

// The browse window's check marks: a row comes up checked when the list's text holds its path.
bool comesUpChecked(const std::string& fullPath)
{
    return TextSearch(ReadRandomList().value_or(std::vector<std::string>())).FindAll({fullPath}).front() != 0;
}

TEST(RandomList, savesTheCheckedRowsInRowOrderEachEndedByCrLf)
{
    test::TestFolder folder;
    ASSERT_TRUE(SaveRandomList({{true, "C:\\Logons\\a.exe"}, {false, "C:\\Logons\\Bliss\\logonui.exe"},
        {true, "C:\\Logons\\Bliss\\Old\\logonui.exe"}, {true, "/logons/with space/x.exe"}}));
    EXPECT_EQ(test::slurp(folder.file("random.dat")),
        "C:\\Logons\\a.exe\r\nC:\\Logons\\Bliss\\Old\\logonui.exe\r\n/logons/with space/x.exe\r\n");
}

TEST(RandomList, savingNoCheckedRowLeavesAnEmptyFile)
{
    test::TestFolder folder;
    test::spit(folder.file("random.dat"), "/old.exe\r\n");
    ASSERT_TRUE(SaveRandomList({{false, "/a.exe"}}));
    EXPECT_TRUE(test::exists(folder.file("random.dat")));
    EXPECT_EQ(std::filesystem::file_size(folder.file("random.dat")), 0u);
    ASSERT_TRUE(SaveRandomList({}));
    EXPECT_EQ(std::filesystem::file_size(folder.file("random.dat")), 0u);
}

TEST(RandomList, savingTwiceWritesTheSameBytes)
{
    test::TestFolder folder;
    const std::vector<RandomListRow> rows = {{true, "/l/a.exe"}, {false, "/l/b.exe"}, {true, "/l/c.exe"}};
    ASSERT_TRUE(SaveRandomList(rows));
    const std::string first = test::slurp(folder.file("random.dat"));
    ASSERT_TRUE(SaveRandomList(rows));
    EXPECT_EQ(test::slurp(folder.file("random.dat")), first);
}

TEST(RandomList, aPathThatCannotStandAsOneLineIsLeftOut)
{
    const std::string withNul("/l/nul\0.exe", 11);
    // Nor is one that would read back otherwise: blanks only, or a byte-order mark opening the file.
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(RandomListText({{true, ""}, {true, "/l/new\nline.exe"}, {true, "/l/cr\r.exe"}, {true, withNul},
                  {true, " \t "}, {true, bom + "/l/first.exe"}, {true, "/l/ok.exe"}, {true, bom + "/l/later.exe"}}),
        "/l/ok.exe\r\n" + bom + "/l/later.exe\r\n");
}

TEST(RandomList, aFailedSaveKeepsTheOldList)
{
    test::TestFolder folder;
    test::spit(folder.file("random.dat"), "/old/a.exe\r\n");
    // A list made read-only is not to be replaced.
    std::filesystem::permissions(folder.file("random.dat"), std::filesystem::perms::owner_read);
    EXPECT_FALSE(SaveRandomList({{true, "/new/b.exe"}}));
    EXPECT_EQ(test::slurp(folder.file("random.dat")), "/old/a.exe\r\n");
}

TEST(RandomList, savedRowsComeUpCheckedAgain)
{
    test::TestFolder folder;
    const std::vector<RandomListRow> rows = {
        {true, "/l/a.exe"}, {false, "/l/Bliss/logonui.exe"}, {true, "/l/Bliss/Old/logonui.exe"}, {false, "/l/b.exe"}};
    ASSERT_TRUE(SaveRandomList(rows));
    for (const RandomListRow& row : rows)
        EXPECT_EQ(comesUpChecked(row.fullPath), row.checked) << row.fullPath;
}

TEST(RandomList, rowsComeUpCheckedByExactCaseSensitiveContainment)
{
    test::TestFolder folder;
    test::spit(folder.file("random.dat"), "/Logons/A.exe\r\n/logons/b.exe.bak\r\n");
    EXPECT_FALSE(comesUpChecked("/logons/a.exe")) << "letter case differs";
    EXPECT_FALSE(comesUpChecked("/LOGONS/A.EXE")) << "letter case differs";
    EXPECT_TRUE(comesUpChecked("/logons/b.exe")) << "a longer line holding the path";
    EXPECT_TRUE(comesUpChecked("/Logons/A.exe"));
    // A name may hold a line break, but no entry can, and the save leaves such a row out.
    EXPECT_FALSE(comesUpChecked("/Logons/A.exe\r\n/logons/b.exe")) << "spans two lines";
}

TEST(RandomList, nothingComesUpCheckedWithoutAListOrWithAnEmptyOne)
{
    test::TestFolder folder;
    EXPECT_FALSE(comesUpChecked("/l/a.exe"));
    test::spit(folder.file("random.dat"), "");
    EXPECT_FALSE(comesUpChecked("/l/a.exe"));
}

TEST(RandomList, entriesAreTheNonBlankLinesWhateverTheirLineEnds)
{
    // Many entries between lines that are none, past where the reader notes its places.
    std::string many = "\xEF\xBB\xBF";
    std::vector<std::string> manyEntries;
    for (int i = 0; i < 300; ++i) {
        manyEntries.push_back("/l/" + std::to_string(i) + ".exe");
        many += manyEntries.back() + (i % 7 == 0 ? "\r\n \t\r\n\n" : "\r\n");
    }
    const struct {
        std::string text;
        std::vector<std::string> entries;
    } cases[] = {
        {"", {}},
        {"\r\n", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\n\r\n\nb\r\n\r\n", {"a", "b"}},
        {" a \r\n", {" a "}},
        {"C:\\with space\\x.exe\r\n", {"C:\\with space\\x.exe"}},
        // No file name holds a NUL: such a line is never drawn nor checked.
        {std::string("a\r\n/logons/x\0y.exe\r\nb", 21), {"a", "b"}},
        {std::string("\0\r\n", 3), {}},
        {"\xEF\xBB\xBF a\r\n\xEF\xBB\xBF\r\n", {" a", "\xEF\xBB\xBF"}},
        {"\xEF\xBB", {"\xEF\xBB"}},
        // Longer than a piece the random run reads at a time.
        {"a\r\n" + std::string(9000, 'x') + "\r\n" + std::string(4093, ' ') + "\t\r\nb" + std::string(5000, 'y'),
            {"a", std::string(9000, 'x'), "b" + std::string(5000, 'y')}},
        {many, manyEntries},
    };
    test::TestFolder folder;
    for (const auto& c : cases) {
        EXPECT_EQ(RandomListEntries(c.text), c.entries) << c.text;
        // The random run reads the file where it needs it, never whole: it must find the same entries,
        // each as the program's text.
        test::spit(folder.file("random.dat"), c.text);
        const RandomListReader list;
        std::vector<std::string> read;
        std::vector<std::string> expected;
        for (size_t i = 0; i < list.Count().value_or(0); ++i)
            read.push_back(list.Entry(i).value_or("(unread)"));
        for (const std::string& entry : c.entries)
            expected.push_back(LegacyLineAsText(entry));
        EXPECT_EQ(read, expected) << c.text;
        EXPECT_EQ(list.Entry(c.entries.size()), std::nullopt);
        // An entry is found alike without a count before it.
        if (!expected.empty()) {
            EXPECT_EQ(RandomListReader().Entry(expected.size() - 1), expected.back()) << c.text;
        }
    }
    std::filesystem::remove(folder.file("random.dat"));
    EXPECT_EQ(RandomListReader().Count(), std::nullopt);
}

} // namespace
} // namespace doorsel
