#include "browse/textsearch.h"
#include "platform/randomlist.h"
#include "support/plaincount.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>

namespace doorsel {
namespace {

// The search over a list file's text, read as the browse window reads it.
TextSearch searchOf(const std::string& listText)
{
    return TextSearch(RandomListEntries(listText));
}

std::int64_t countOf(const TextSearch& search, const std::string& st)
{
    return search.FindAll({st}).front();
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
        EXPECT_EQ(countOf(search, c.st), c.count) << c.st;
    }
    EXPECT_EQ(countOf(TextSearch({}), "/x.exe"), 0);
}

TEST(TextSearch, findsPathsFarIntoALongList)
{
    // A list of some thousand entries; a search that kept 16-bit positions would stop near 32,767.
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "C:\\Program Files\\Logon Screens\\Collection\\Theme " + std::to_string(i) + "\\logonui.exe\r\n";
    ASSERT_GT(text.size(), 100000u);
    const TextSearch search = searchOf(text);
    EXPECT_EQ(countOf(search, "C:\\Program Files\\Logon Screens\\Collection\\Theme 2999\\logonui.exe"), 1);
    EXPECT_EQ(countOf(search, "C:\\Program Files\\Logon Screens\\Collection\\Theme 1000\\logonui.exe"), 1);
    EXPECT_EQ(countOf(search, "\\logonui.exe"), 3000);
    EXPECT_EQ(countOf(search, "C:\\Program Files\\Logon Screens\\Collection\\Theme 3000\\logonui.exe"), 0);
    EXPECT_EQ(countOf(searchOf(std::string(70000, 'z')), "zz"), 69999) << "counts beyond 16 bits";
}

// The rows' counts from one pass over the list must be exactly those of searching each entry for
// each row on its own: overlapping and nested paths, rows that are prefixes of others or only part
// of a line, letter case, repeated rows, and paths that cannot occur at all.
TEST(TextSearch, allRowsAtOnceCountExactlyAsOneRowAtATime)
{
    struct Case {
        std::string name;
        std::vector<std::string> entries;
        std::vector<std::string> rows;
    };
    std::vector<Case> cases {
        {"overlaps", {"aaaa", "abab", "aXa"}, {"a", "aa", "aaa", "aaaa", "aaaaa", "ab", "aba", "bab", "b", "X", "aXa"}},
        {"prefixes and nested paths", {"/L/a.exe", "/L/a.exe.exe", "/L/b/L/a.exe"},
            {"/L/a.exe", "/L/a.exe.exe", "/L/a.ex", "L/a.exe", "/L/b/L/a.exe", "/L/b", ".exe", "exe.exe"}},
        {"part of a line", {"old copy of /L/x.exe, kept", "/L/x.exe.bak"}, {"/L/x.exe", "/L/x.exe.bak", "/L/x.exe,"}},
        {"case", {"/L/Bliss/logonui.exe"}, {"/L/bliss/logonui.exe", "/L/Bliss/LOGONUI.EXE", "/L/Bliss/logonui.exe"}},
        {"repeated rows, empty rows, line breaks", {"/L/a.exe", "/L/a.exe"},
            {"/L/a.exe", "", "/L/a.exe", "/L/a.exe\n/L/a.exe", "exe\n", "\r"}},
        {"no list", {}, {"/L/a.exe", ""}},
    };
    // Short strings over a small alphabet: every kind of overlap, many times over.
    std::mt19937 random(11);
    const auto text = [&](size_t longest) {
        std::string s(std::uniform_int_distribution<size_t>(1, longest)(random), ' ');
        for (char& c : s)
            c = "ab/."[std::uniform_int_distribution<int>(0, 3)(random)];
        return s;
    };
    Case generated {"generated", {}, {}};
    for (int i = 0; i < 300; ++i)
        generated.entries.push_back(text(24));
    for (int i = 0; i < 600; ++i)
        generated.rows.push_back(text(8));
    cases.push_back(generated);
    // A browse list: paths sharing a long folder, half of them in a list that also names others.
    Case browse {"browse list", {}, {}};
    for (int folder = 0; folder < 200; ++folder) {
        for (const char* file : {"logonui.exe", "setup.exe", "a.exe"}) {
            const std::string path = "/srv/Logons/group-" + std::to_string(folder) + "/" + file;
            browse.rows.push_back(path);
            if (folder % 2 == 0)
                browse.entries.push_back(folder % 4 == 0 ? path : path + ".old");
            browse.entries.push_back("/srv/Elsewhere/group-" + std::to_string(folder) + "/" + file);
        }
    }
    cases.push_back(browse);
    // Nesting and overlaps again, among enough rows of one folder that the search looks only between
    // where the rows' shared beginning and end occur.
    Case nested {"nested rows of one folder",
        {"/L/L/a.exe", "/L/a.exe.exe", "/L/b/L/a.exe", "x/L/a.exe/L/a.exe.exe/L/", "/L/.exe"},
        {"/L/a.exe", "/L/a.exe.exe", "/L/b/L/a.exe", "/L/a.exe/L/a.exe", "/L/.exe", "/L/a.exe/L/a.exe.exe",
            "/L/a.exe"}};
    for (int i = 0; i < 300; ++i)
        nested.rows.push_back("/L/filler " + std::to_string(i) + ".exe");
    cases.push_back(nested);

    for (const Case& c : cases) {
        const TextSearch search(c.entries);
        std::vector<std::int64_t> oneByOne;
        for (const std::string& row : c.rows)
            oneByOne.push_back(test::PlainCount(c.entries, row));
        EXPECT_EQ(search.FindAll(c.rows), oneByOne) << c.name;
        // Made one at a time in one buffer, as the browse window marks its rows; a cancelled walk
        // marks none.
        std::vector<std::int64_t> occur(c.rows.size(), 0);
        const auto pathAt = [&](size_t i, std::string& path) { return std::string_view(path = c.rows[i]); };
        search.FindEach(c.rows.size(), pathAt, [&](size_t i) { occur[i] = 1; });
        for (std::int64_t& count : oneByOne)
            count = count != 0 ? 1 : 0;
        EXPECT_EQ(occur, oneByOne) << c.name;
        const std::atomic<bool> stopped {true};
        search.FindEach(
            c.rows.size(), pathAt, [&](size_t) { ADD_FAILURE() << c.name; }, &stopped);
    }
}

} // namespace
} // namespace doorsel
