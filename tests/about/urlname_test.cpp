#include "about/urlname.h"
#include "platform/appinfo.h"

#include <gtest/gtest.h>

namespace doorsel::about {
namespace {

TEST(FileNameFromUrl, takesTheTextAfterTheLastSlash)
{
    EXPECT_EQ(FileNameFromUrl("http://doorsel.example/doorsel/CurrentVersion.dat"), "CurrentVersion.dat");
    EXPECT_EQ(FileNameFromUrl("http://doorsel.example/doorsel/links.dat?v=2"), "links.dat?v=2");
    EXPECT_EQ(FileNameFromUrl("http://doorsel.example/doorsel/"), "");
    EXPECT_EQ(FileNameFromUrl("links.dat"), "");
    EXPECT_EQ(FileNameFromUrl(""), "");
}

TEST(DownloadPath, joinsTheFolderAndTheName)
{
    const std::string folder = std::string("dir") + PathSeparator + "bin";
    EXPECT_EQ(DownloadPath("http://h/doorsel/links.dat", folder), folder + PathSeparator + "links.dat");
    EXPECT_EQ(DownloadPath("http://h/a/b/CurrentVersion.dat", folder), folder + PathSeparator + "CurrentVersion.dat");
    EXPECT_EQ(DownloadPath("http://h/doorsel/.links", folder), folder + PathSeparator + ".links");
    EXPECT_EQ(DownloadPath("http://h/doorsel/a..b", folder), folder + PathSeparator + "a..b");
    EXPECT_EQ(DownloadPath("http://h/doorsel/console.dat", folder), folder + PathSeparator + "console.dat");
}

TEST(DownloadPath, refusesNamesThatAreNoPlainFileInTheFolder)
{
    const char* urls[] = {
        "http://h/doorsel/",
        "http://h/doorsel/.",
        "http://h/doorsel/..",
        "no slash at all",
        "http://h/doorsel/..\\..\\evil.dat",
        "http://h/doorsel/sub\\links.dat",
        "http://h/doorsel/C:links.dat",
        "http://h/doorsel/links.dat:stream",
        "http://h/doorsel/line\nbreak",
        "http://h/doorsel/tab\tname",
        "http://h/doorsel/CON",
        "http://h/doorsel/nul.dat",
        "http://h/doorsel/Com1.txt",
        "http://h/doorsel/lpt9",
    };
    for (const char* url : urls)
        EXPECT_FALSE(DownloadPath(url, "folder")) << url;
    EXPECT_FALSE(DownloadPath("http://h/doorsel/links.dat", "")) << "no program folder known: not the root instead";
    EXPECT_FALSE(IsSafeFileName(std::string("a\0b", 3)));
    EXPECT_TRUE(IsSafeFileName("COM10"));
    EXPECT_TRUE(IsSafeFileName("\xC3\xA9t\xE9.dat"));
}

} // namespace
} // namespace doorsel::about
