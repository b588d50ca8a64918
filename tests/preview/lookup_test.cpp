#include "platform/appinfo.h"
#include "preview/lookup.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace doorsel {
namespace {

const std::string sep(1, PathSeparator);

TEST(FolderOfExecutable, keepsTheTextUpToTheLastSeparator)
{
    EXPECT_EQ(FolderOfExecutable(sep + "a" + sep + "b" + sep + "logon.exe"), sep + "a" + sep + "b" + sep);
    EXPECT_EQ(FolderOfExecutable("a" + sep), "a" + sep);
    EXPECT_EQ(FolderOfExecutable(sep + "logon.exe"), sep);
    // No separator: the whole text becomes the folder.
    EXPECT_EQ(FolderOfExecutable("logonui.exe"), "logonui.exe" + sep);
    EXPECT_EQ(FolderOfExecutable(""), sep);
    EXPECT_EQ(FolderOfExecutable("d\xe9j\xe0" + sep + "\xff.exe"), "d\xe9j\xe0" + sep);
}

TEST(IsSystemLogonScreen, onlyTheExactDefaultValue)
{
    EXPECT_TRUE(IsSystemLogonScreen(FolderOfExecutable("logonui.exe")));
    EXPECT_FALSE(IsSystemLogonScreen(FolderOfExecutable("LogonUI.exe")));
    EXPECT_FALSE(IsSystemLogonScreen(FolderOfExecutable("LOGONUI.EXE")));
    EXPECT_FALSE(IsSystemLogonScreen("logonui.exe"));
    // The system's own program named by its full path is searched like any other folder.
    EXPECT_FALSE(IsSystemLogonScreen(FolderOfExecutable(sep + "system32" + sep + "logonui.exe")));
}

struct LookupCase {
    const char* what;
    std::vector<std::string> entries; // a trailing "/" makes a folder
    std::string expected; // the name found, "" for none
};

std::ostream& operator<<(std::ostream& out, const LookupCase& c)
{
    return out << c.what;
}

class FindPreviewPictureIn : public ::testing::TestWithParam<LookupCase> { };

TEST_P(FindPreviewPictureIn, takesTheFirstPatternThatMatches)
{
    const LookupCase& c = GetParam();
    test::TestFolder folder;
    for (const std::string& entry : c.entries) {
        if (entry.back() == '/')
            std::filesystem::create_directory(folder.file(entry.substr(0, entry.size() - 1)));
        else
            test::spit(folder.file(entry), "picture bytes");
        if (!test::exists(folder.file(entry)))
            GTEST_SKIP() << "no file can have this name here";
    }
    const std::string dir = folder.path() + sep;
    EXPECT_EQ(FindPreviewPicture(dir), c.expected.empty() ? "" : dir + c.expected);
}

INSTANTIATE_TEST_SUITE_P(Folders, FindPreviewPictureIn,
    ::testing::Values(LookupCase {"jpgBeatsBmp", {"a.bmp", "b.jpg"}, "b.jpg"},
        LookupCase {"jpegBeatsBmp", {"y.bmp", "x.jpeg"}, "x.jpeg"},
        LookupCase {"jpgBeatsJpeg", {"a.jpeg", "z.jpg"}, "z.jpg"},
        LookupCase {"bmpAlone", {"z.bmp", "readme.txt", "logon.exe"}, "z.bmp"},
        LookupCase {"upperCaseExtension", {"SHOT.JPEG", "other.Bmp"}, "SHOT.JPEG"},
        LookupCase {"firstByNameWithoutCase", {"c.jpg", "B.jpg", "a.JPG"}, "a.JPG"},
        LookupCase {"folderNamedLikeAPicture", {"x.jpg/", "y.bmp"}, "y.bmp"},
        LookupCase {"onlyAFolderNamedLikeAPicture", {"x.jpg/"}, ""},
        LookupCase {"extensionMustEndTheName", {"a.jpg.txt", "b.jpgx", "cjpg", "d.bmp.exe"}, ""},
        LookupCase {"nameNotValidUtf8", {"\xe9t\xe9.jpg", "plain.bmp"}, "\xe9t\xe9.jpg"},
        LookupCase {"emptyFolder", {}, ""}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.what); });

TEST(FindPreviewPicture, missingFolderFindsNothing)
{
    test::TestFolder folder;
    EXPECT_EQ(FindPreviewPicture(folder.file("gone") + sep), "");
    test::spit(folder.file("file.exe"), "x");
    EXPECT_EQ(FindPreviewPicture(folder.file("file.exe") + sep), "");
}

TEST(FindPreviewPicture, otherCaseOfTheSystemValueSearchesARelativeFolder)
{
    test::TestFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    EXPECT_EQ(FindPreviewPicture(FolderOfExecutable("LogonUI.exe")), "");
    std::filesystem::create_directory("LogonUI.exe");
    test::spit("LogonUI.exe" + sep + "p.jpg", "x");
    EXPECT_EQ(FindPreviewPicture(FolderOfExecutable("LogonUI.exe")), "LogonUI.exe" + sep + "p.jpg");
    std::filesystem::current_path(previous);
}

} // namespace
} // namespace doorsel
