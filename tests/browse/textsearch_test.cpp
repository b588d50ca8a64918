#include "browse/textsearch.h"
#include "platform/appinfo.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace doorsel {
namespace {

class TextSearchTest : public ::testing::Test {
protected:
    std::string folderPath() const { return folder.path() + PathSeparator; }

    test::TestFolder folder;
    TextSearch search;
};

TEST_F(TextSearchTest, countsEveryOccurrenceOverlappingOnesIncluded)
{
    test::spit(folder.file("t.txt"), "aaaa abab aXa");
    search.AddFile(folderPath(), "t.txt");
    const struct {
        const char* st;
        std::int64_t count;
    } cases[] = {{"a", 8}, {"aa", 3}, {"aaa", 2}, {"aba", 1}, {"bab", 1}, {"A", 0}, {"x", 0}, {"aXa", 1}, {"", 0},
        {"aaaa abab aXa!", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(search.Find(c.st), c.count) << c.st;
}

TEST_F(TextSearchTest, sumsOverTheListedFilesAndForgetsThemWhenCleared)
{
    test::spit(folder.file("one.dat"), "/x.exe\r\n/y.exe\r\n");
    test::spit(folder.file("two.dat"), "/x.exe\r\n");
    test::spit(folder.file("empty.dat"), "");
    search.AddFile(folderPath(), "empty.dat");
    search.AddFile(folderPath(), "one.dat");
    search.AddFile(folderPath(), "two.dat");
    search.AddFile(folderPath(), "one.dat");
    EXPECT_EQ(search.FileList(),
        (std::vector<std::string> {folder.file("empty.dat"), folder.file("one.dat"), folder.file("two.dat")}));
    // An empty file does not end the search of the files after it.
    EXPECT_EQ(search.Find("/x.exe"), 2);
    EXPECT_EQ(search.Find("/y.exe"), 1);
    search.ClearFileList();
    EXPECT_TRUE(search.FileList().empty());
    EXPECT_EQ(search.Find("/x.exe"), 0);
}

TEST_F(TextSearchTest, addsRegularFilesOnly)
{
    std::filesystem::create_directory(folder.file("random.dat"));
    search.AddFile(folderPath(), "random.dat");
    search.AddFile(folderPath(), "absent.dat");
    EXPECT_TRUE(search.FileList().empty());
}

TEST_F(TextSearchTest, readsEachFileWhenItIsAdded)
{
    test::spit(folder.file("random.dat"), "/a.exe\r\n");
    search.AddFile(folderPath(), "random.dat");
    test::spit(folder.file("random.dat"), "/b.exe\r\n");
    EXPECT_EQ(search.Find("/a.exe"), 1);
    EXPECT_EQ(search.Find("/b.exe"), 0);
}

TEST_F(TextSearchTest, findsPathsFarIntoALongList)
{
    // A list of some thousand entries; a search that kept 16-bit positions would stop near 32,767.
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "C:\\Program Files\\Logon Screens\\Collection\\Theme " + std::to_string(i) + "\\logonui.exe\r\n";
    ASSERT_GT(text.size(), 100000u);
    test::spit(folder.file("random.dat"), text);
    search.AddFile(folderPath(), "random.dat");
    EXPECT_EQ(search.Find("C:\\Program Files\\Logon Screens\\Collection\\Theme 2999\\logonui.exe"), 1);
    EXPECT_EQ(search.Find("C:\\Program Files\\Logon Screens\\Collection\\Theme 1000\\logonui.exe"), 1);
    EXPECT_EQ(search.Find("\\logonui.exe"), 3000);
    EXPECT_EQ(search.Find("C:\\Program Files\\Logon Screens\\Collection\\Theme 3000\\logonui.exe"), 0);
}

// Long lists are indexed to skip most searches; the counts must still be exactly those of a plain
// search, for paths that are there, that share all but a few characters with ones that are, and
// that differ only in the middle.
TEST_F(TextSearchTest, longListsCountExactlyAsAPlainSearchDoes)
{
    std::string text;
    std::vector<std::string> queries;
    const std::string prefix = "/srv/a-rather-long-shared-folder-name/Logons/";
    for (int g = 0; g < 80; ++g) {
        for (int v = 0; v < 10; ++v) {
            const std::string path = prefix + "group-" + std::to_string(g) + "/variant-" + std::to_string(v);
            if (v % 3 == 0)
                text += path + "/logonui.exe\r\n";
            queries.push_back(path + "/logonui.exe");
            queries.push_back(path + "/logonui.ex");
            queries.push_back(path.substr(10) + "/logonui");
        }
    }
    text += prefix + "group-1/variant-1/logonui.exe.bak\r\n" + prefix + prefix + "\r\n";
    queries.push_back(prefix);
    queries.emplace_back("e-1/variant-1/logonui.exe.b");
    ASSERT_GT(text.size(), 16u * 1024);
    test::spit(folder.file("random.dat"), text);
    search.AddFile(folderPath(), "random.dat");
    for (const std::string& st : queries) {
        std::int64_t expected = 0;
        for (size_t at = text.find(st); at != std::string::npos; at = text.find(st, at + 1))
            ++expected;
        ASSERT_EQ(search.Find(st), expected) << st;
    }
}

TEST_F(TextSearchTest, aListChangedBetweenFoldersIsReadAgain)
{
    test::spit(folder.file("random.dat"), std::string(20000, 'x') + "/logons/a.exe\r\n");
    search.AddFile(folderPath(), "random.dat");
    EXPECT_EQ(search.Find("/logons/a.exe"), 1);
    search.ClearFileList();
    test::spit(folder.file("random.dat"), std::string(20000, 'x') + "/logons/b.exe\r\n/logons/b.exe\r\n");
    search.AddFile(folderPath(), "random.dat");
    EXPECT_EQ(search.Find("/logons/a.exe"), 0);
    EXPECT_EQ(search.Find("/logons/b.exe"), 2);
}

TEST_F(TextSearchTest, countsBeyondSixteenBits)
{
    test::spit(folder.file("big.txt"), std::string(70000, 'z'));
    search.AddFile(folderPath(), "big.txt");
    EXPECT_EQ(search.Find("z"), 70000);
    EXPECT_EQ(search.Find("zz"), 69999);
}

TEST_F(TextSearchTest, nameWildcardsMatchFilesOfTheFolder)
{
    for (const char* name : {"a.dat", "b.dat", "ab.txt", ".hidden.dat"})
        test::spit(folder.file(name), name);
    std::filesystem::create_directory(folder.file("dir.dat"));
    search.AddFile(folderPath(), "*.dat");
    EXPECT_EQ(search.FileList(), (std::vector<std::string> {folder.file("a.dat"), folder.file("b.dat")}));
    search.ClearFileList();
    search.AddFile(folderPath(), "?b.*");
    EXPECT_EQ(search.FileList(), std::vector<std::string> {folder.file("ab.txt")});
}

TEST(MatchesWildcard, starsAndQuestionMarks)
{
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"random.dat", "random.dat", true},
        {"random.dat", "*", true},
        {"random.dat", "*.dat", true},
        {"random.dat", "r*m.d?t", true},
        {"random.dat", "*.da", false},
        {"random.dat", "?", false},
        {"a", "a*", true},
        {"", "*", true},
        {"abcabd", "*abd", true},
        {"abcabc", "*abd", false},
        {"random.dat", "Random.dat", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches) << c.name << ' ' << c.pattern;
}

} // namespace
} // namespace doorsel
