#include "browse/searchfolder.h"
#include "platform/appinfo.h"
#include "platform/folderlist.h"
#include "platform/logonhost.h"
#include "platform/logonswitch.h"
#include "platform/randomlist.h"
#include "platform/registry.h"
#include "support/logonhostlock.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

const std::string sep(1, PathSeparator);

class SearchFolderTest : public ::testing::Test {
protected:
    // Makes a file (and its folders) under the test folder; returns its full path.
    std::string touch(const std::string& relative)
    {
        std::string path = at(relative);
        test::makeFolders(path.substr(0, path.find_last_of(PathSeparator)));
        test::spit(path, "MZ");
        return path;
    }
    // A path under the test folder, written with "/" in the test and the platform's separator here.
    std::string at(std::string relative) const
    {
        for (char& c : relative) {
            if (c == '/')
                c = PathSeparator;
        }
        return folder.file(relative);
    }
    void mkdir(const std::string& relative) { test::makeFolders(at(relative)); }

    std::vector<FoundFile> walk(const std::string& path)
    {
        std::vector<FoundFile> found;
        SearchFolder(path, true, [&](const FoundFile& f) { found.push_back(f); });
        return found;
    }

    std::vector<std::string> paths(const std::string& path)
    {
        std::vector<std::string> result;
        for (const FoundFile& f : walk(path))
            result.push_back(f.fullPath);
        return result;
    }

    test::TestFolder folder;
};

TEST_F(SearchFolderTest, ownFilesComeFirstThenEachSubFolderDepthFirst)
{
    touch("Logons/a.exe");
    touch("Logons/Bliss/logonui.exe");
    touch("Logons/Bliss/Old/logonui.exe");
    touch("Logons/z.exe");
    const std::string top = folder.file("Logons");

    const std::vector<FoundFile> found = walk(top);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].fullPath, top + sep + "a.exe");
    EXPECT_EQ(found[1].fullPath, top + sep + "z.exe");
    EXPECT_EQ(found[2].fullPath, top + sep + "Bliss" + sep + "logonui.exe");
    EXPECT_EQ(found[3].fullPath, top + sep + "Bliss" + sep + "Old" + sep + "logonui.exe");
    EXPECT_EQ(found[0].folderName, "Logons");
    EXPECT_EQ(found[2].folderName, "Bliss");
    EXPECT_EQ(found[3].folderName, "Old");
    EXPECT_EQ(found[3].fileName, "logonui.exe");

    EXPECT_EQ(paths(top + sep), paths(top)) << "with or without the trailing separator";
}

TEST_F(SearchFolderTest, onlyNamesEndingInLowerCaseExeAreListed)
{
    for (const char* name :
        {"setup.exe", "logonui.exe", "x.exe", ".exe", "LOGONUI.EXE", "logonui.EXE", "a.exe.bak", "readme.txt", "exe"})
        touch(std::string("L/") + name);
    mkdir("L/old.exe");
    std::vector<std::string> names;
    for (const FoundFile& f : walk(folder.file("L")))
        names.push_back(f.fileName);
    EXPECT_EQ(names, (std::vector<std::string> {".exe", "logonui.exe", "setup.exe", "x.exe"}));
}

TEST_F(SearchFolderTest, namesComeInCaseInsensitiveOrder)
{
    for (const char* name : {"b.exe", "A.exe", "C.exe", "a_.exe"})
        touch(std::string("L/") + name);
    mkdir("L/b");
    touch("L/B2/in.exe");
    touch("L/a/in.exe");
    EXPECT_EQ(paths(folder.file("L")),
        (std::vector<std::string> {
            at("L/A.exe"), at("L/a_.exe"), at("L/b.exe"), at("L/C.exe"), at("L/a/in.exe"), at("L/B2/in.exe")}));
}

// A folder is read a piece at a time: one holding far more names than a piece takes lists each of
// them once, in order, whatever piece it fell in.
TEST_F(SearchFolderTest, aFolderOfAThousandNamesListsEachOnce)
{
    std::vector<std::string> expected;
    for (int i = 0; i < 1000; ++i) {
        const std::string number = std::to_string(10000 + i);
        expected.push_back(touch("L/Logon screen number " + number + " with a rather long name.exe"));
    }
    EXPECT_EQ(paths(folder.file("L")), expected);
}
TEST_F(SearchFolderTest, missingOrEmptyFolderYieldsNothing)
{
    EXPECT_TRUE(walk(folder.file("no such folder")).empty());
    mkdir("empty");
    EXPECT_TRUE(walk(folder.file("empty")).empty());
    touch("file.exe");
    EXPECT_TRUE(walk(folder.file("file.exe")).empty()) << "a file is no folder to walk";
}

// Only a link back to one of the walk's own ancestors is left alone (it would loop); every other
// link is walked like a folder, so the real folder behind a link is listed too.
TEST_F(SearchFolderTest, linksAreWalkedLikeFoldersExceptBackUpTheTree)
{
    touch("L/a.exe");
    touch("L/sub/b.exe");
    touch("L/Wide/logonui.exe");
    const std::pair<std::string, std::string> links[] = {
        {folder.file("L"), at("L/sub/up")},
        {at("L/sub"), at("L/again")},
        {at("L/Wide"), at("L/AAlink")},
        {at("L/sub"), at("L/sub/self")},
    };
    for (const auto& [target, link] : links) {
        std::error_code error;
        fs::create_directory_symlink(target, link, error);
        if (error)
            GTEST_SKIP() << "folder links cannot be made here: " << error.message();
    }
    EXPECT_EQ(paths(folder.file("L")),
        (std::vector<std::string> {at("L/a.exe"), at("L/AAlink/logonui.exe"), at("L/again/b.exe"), at("L/sub/b.exe"),
            at("L/Wide/logonui.exe")}));
}

// Folders that link to each other without a loop: each level's two links lead to the next level,
// so following every link would read 2^25 folders. A link leads on only to a folder no link has led
// to before; a real folder is walked all the same.
TEST_F(SearchFolderTest, aWebOfLinksIsWalkedOnceThroughEachLink)
{
    constexpr int levels = 25;
    const auto level = [](int number) { return "W/" + std::string(number < 10 ? "0" : "") + std::to_string(number); };
    for (int number = 0; number <= levels; ++number)
        touch(level(number) + "/f.exe");
    for (int number = 0; number < levels; ++number) {
        for (const char* name : {"a", "b"}) {
            std::error_code error;
            fs::create_directory_symlink(at(level(number + 1)), at(level(number) + "/" + name), error);
            if (error)
                GTEST_SKIP() << "folder links cannot be made here: " << error.message();
        }
    }
    WalkControl control;
    int read = 0;
    control.reading = [&](const std::string&) {
        // Far beyond what the walk needs: a walk that gets here multiplies the web.
        if (++read == 10000)
            control.stop = true;
    };
    std::vector<std::string> found;
    SearchFolder(
        at("W"), true, [&](const FoundFile& f) { found.push_back(f.fullPath); }, &control);

    ASSERT_LT(read, 4 * (levels + 1));
    // Through the links from level 0 down to the last, then each real level's own file.
    std::vector<std::string> expected;
    std::string chain = level(0);
    for (int number = 0; number <= levels; ++number, chain += "/a")
        expected.push_back(at(chain + "/f.exe"));
    for (int number = 1; number <= levels; ++number)
        expected.push_back(at(level(number) + "/f.exe"));
    EXPECT_EQ(found, expected);
}

TEST_F(SearchFolderTest, namesThatAreNotTextComeBackByteForByte)
{
    const std::string odd = "caf\xe9 \xff\xfe";
    mkdir("L/" + odd);
    test::spit(at("L/" + odd + "/" + odd + ".exe"), "MZ");
    if (!test::exists(at("L/" + odd + "/" + odd + ".exe")))
        GTEST_SKIP() << "the file system here does not take such names";
    const std::vector<FoundFile> found = walk(at("L"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].fileName, odd + ".exe");
    EXPECT_EQ(found[0].folderName, odd);
    EXPECT_EQ(found[0].fullPath, at("L/" + odd + "/" + odd + ".exe"));
}

TEST_F(SearchFolderTest, aTreeTwoHundredFoldersDeepIsWalkedToTheBottom)
{
    std::string relative = "L";
    for (int depth = 0; depth < 200; ++depth)
        relative += "/d";
    touch(relative + "/deep.exe");
    if (!test::exists(at(relative + "/deep.exe")))
        GTEST_SKIP() << "paths this long cannot be made here";
    const std::vector<FoundFile> found = walk(at("L"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].fullPath, at(relative + "/deep.exe"));
    EXPECT_EQ(found[0].folderName, "d");
}

// Names that a code page other than UTF-8 holds only as a look-alike ("..\Outside", "App", "O.exe")
// or not at all ("?.exe"), or whose bytes there hold a backslash (表 in code page 932), and a path
// longer than 260 characters: each row is the file as it is on disk, nothing outside the folder is
// listed, and the paths come back unchanged from the random list and the logon-host value.
TEST_F(SearchFolderTest, everyNameComesBackAsItIsOnDisk)
{
    std::string deep = "L/deep";
    while (deep.size() < 300)
        deep += "/folder";
    const std::string files[] = {"L/..＼Outside/evil.exe", "L/Āpp/in.exe", "L/App/in.exe", "L/Ω.exe", "L/λ.exe",
        "L/表/in.exe", deep + "/deep.exe"};
    std::vector<std::string> expected;
    for (const std::string& file : files)
        expected.push_back(touch(file));
    touch("Outside/outside.exe");
    std::sort(expected.begin(), expected.end());

    std::vector<std::string> found = paths(folder.file("L"));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected);

    std::vector<RandomListRow> rows;
    rows.reserve(expected.size());
    for (const std::string& path : expected)
        rows.push_back({true, path});
    ASSERT_TRUE(SaveRandomList(rows));
    EXPECT_EQ(ReadRandomList(), expected);
    const test::LogonHostLock lock;
    for (const std::string& path : expected) {
        EXPECT_TRUE(SetLogonHost(path));
        EXPECT_EQ(ReadRegValue(UIHostPath), path);
    }
}

// A walk on a thread of its own is told each folder before it is read, and a stop ends it wherever
// it is: before it starts, between two files, or within the reading of a folder.
TEST_F(SearchFolderTest, aStopEndsTheWalkWhereverItIs)
{
    touch("L/a.exe");
    touch("L/b.exe");
    touch("L/Bliss/logonui.exe");
    touch("L/Zen/logonui.exe");
    const struct {
        const char* name;
        const char* stopAtFile; // the walk is stopped as this file is reported, or
        const char* stopAtFolder; // as this folder is about to be read
        std::vector<std::string> found;
        std::vector<std::string> read;
    } cases[] = {
        {"never", nullptr, nullptr, {"L/a.exe", "L/b.exe", "L/Bliss/logonui.exe", "L/Zen/logonui.exe"},
            {"L/", "L/Bliss/", "L/Zen/"}},
        {"before it starts", nullptr, "L/", {}, {"L/"}},
        {"at a file", "L/a.exe", nullptr, {"L/a.exe"}, {"L/"}},
        {"within a folder", nullptr, "L/Bliss/", {"L/a.exe", "L/b.exe"}, {"L/", "L/Bliss/"}},
    };
    for (const auto& c : cases) {
        WalkControl control;
        std::vector<std::string> read;
        control.reading = [&](const std::string& folderPath) {
            read.push_back(folderPath);
            if (c.stopAtFolder && folderPath == at(c.stopAtFolder))
                control.stop = true;
        };
        std::vector<std::string> found;
        SearchFolder(
            folder.file("L"), true,
            [&](const FoundFile& f) {
                found.push_back(f.fullPath);
                if (c.stopAtFile && f.fullPath == at(c.stopAtFile))
                    control.stop = true;
            },
            &control);
        std::vector<std::string> expected;
        for (const std::string& relative : c.found)
            expected.push_back(at(relative));
        EXPECT_EQ(found, expected) << c.name;
        expected.clear();
        for (const std::string& relative : c.read)
            expected.push_back(at(relative));
        EXPECT_EQ(read, expected) << c.name;
    }

    // A set flag ends a folder's listing at its next entry, so that a folder of very many entries
    // does not hold the stop up.
    for (int i = 0; i < 2000; ++i)
        touch("Many/" + std::to_string(i) + ".exe");
    const std::atomic<bool> stopped {true};
    EXPECT_TRUE(ListFolder(folder.file("Many"), nullptr, &stopped).empty());
    EXPECT_EQ(ListFolder(folder.file("Many"), nullptr, nullptr).size(), 2000u);
}

TEST_F(SearchFolderTest, folderNameIsTheLastComponent)
{
    EXPECT_EQ(FolderNameOf(sep + "Logons" + sep + "Bliss" + sep), "Bliss");
    EXPECT_EQ(FolderNameOf("C:" + sep + "Logons" + sep), "Logons");
    EXPECT_EQ(FolderNameOf("C:" + sep), "");
    EXPECT_EQ(FolderNameOf(sep), "");
    EXPECT_EQ(AddBackslash(""), sep);
    EXPECT_EQ(AddBackslash("a" + sep), "a" + sep);
}

} // namespace
} // namespace doorsel
