#include "browse/textsearch.h"
#include "platform/randomlist.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

// The search over a list file's text, read as the browse window reads it.
TextSearch searchOf(const std::string& listText)
{
    return TextSearch(RandomListEntries(listText));
}

TEST(TextSearch, countsEveryOccurrenceWithinTheEntries)
{
    const TextSearch search = searchOf("aaaa abab aXa\r\n/x.exe\r\n/x.exe\r\n");
    const struct {
        const char* st;
        std::int64_t count;
    } cases[] = {{"a", 8}, {"aa", 3}, {"aaa", 2}, {"aba", 1}, {"bab", 1}, {"A", 0}, {"aXa", 1}, {"/x.exe", 2}, {"", 0},
        {"aaaa abab aXa!", 0}, {"aXa\n/x", 0}, {"\r\n", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(search.Find(c.st), c.count) << c.st;
        EXPECT_EQ(search.Contains(c.st), c.count != 0) << c.st;
    }
    EXPECT_EQ(TextSearch({}).Find("/x.exe"), 0);
}

TEST(TextSearch, findsPathsFarIntoALongList)
{
    // A list of some thousand entries; a search that kept 16-bit positions would stop near 32,767.
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "C:\\Program Files\\Logon Screens\\Collection\\Theme " + std::to_string(i) + "\\logonui.exe\r\n";
    ASSERT_GT(text.size(), 100000u);
    const TextSearch search = searchOf(text);
    EXPECT_EQ(search.Find("C:\\Program Files\\Logon Screens\\Collection\\Theme 2999\\logonui.exe"), 1);
    EXPECT_EQ(search.Find("C:\\Program Files\\Logon Screens\\Collection\\Theme 1000\\logonui.exe"), 1);
    EXPECT_EQ(search.Find("\\logonui.exe"), 3000);
    EXPECT_EQ(search.Find("C:\\Program Files\\Logon Screens\\Collection\\Theme 3000\\logonui.exe"), 0);
    EXPECT_EQ(searchOf(std::string(70000, 'z')).Find("zz"), 69999) << "counts beyond 16 bits";
}

// Long lists are filtered to skip most searches; the counts must still be exactly those of a plain
// search, for paths that are there, that share all but a few characters with ones that are, and
// that differ only in the middle.
TEST(TextSearch, longListsCountExactlyAsAPlainSearchDoes)
{
    std::string text;
    std::vector<std::string> queries;
    const std::string prefix = "/srv/a-rather-long-shared-folder-name/Logons/";
    for (int g = 0; g < 80; ++g) {
        for (int v = 0; v < 10; ++v) {
            const std::string path = prefix + "group-" + std::to_string(g) + "/variant-" + std::to_string(v);
            if (v % 3 == 0)
                text += path + "/logonui.exe\n";
            queries.push_back(path + "/logonui.exe");
            queries.push_back(path + "/logonui.ex");
            queries.push_back(path.substr(10) + "/logonui");
        }
    }
    text += prefix + "group-1/variant-1/logonui.exe.bak\n" + prefix + prefix + "\n";
    queries.push_back(prefix);
    queries.emplace_back("e-1/variant-1/logonui.exe.b");
    ASSERT_GT(text.size(), 16u * 1024);
    const TextSearch search = searchOf(text);
    for (const std::string& st : queries) {
        std::int64_t expected = 0;
        for (size_t at = text.find(st); at != std::string::npos; at = text.find(st, at + 1))
            ++expected;
        ASSERT_EQ(search.Find(st), expected) << st;
    }
}

} // namespace
} // namespace doorsel
