#include "platform/appinfo.h"
#include "preview/lookup.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace doorsel {
namespace {

TEST(FindPreviewPicture, skipsHiddenAndSystemFiles)
{
    test::TestFolder folder;
    test::spit(folder.file("a.jpg"), "x");
    test::spit(folder.file("b.jpeg"), "x");
    test::spit(folder.file("c.bmp"), "x");
    ASSERT_TRUE(SetFileAttributesA(folder.file("a.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(folder.file("b.jpeg").c_str(), FILE_ATTRIBUTE_SYSTEM));
    const std::string dir = folder.path() + PathSeparator;
    EXPECT_EQ(FindPreviewPicture(dir), dir + "c.bmp");
}

} // namespace
} // namespace doorsel
