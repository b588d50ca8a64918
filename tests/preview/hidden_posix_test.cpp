#include "platform/appinfo.h"
#include "preview/lookup.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace doorsel {
namespace {

TEST(FindPreviewPicture, skipsHiddenFilesAndDanglingLinks)
{
    test::TestFolder folder;
    test::spit(folder.file(".a.jpg"), "x");
    std::filesystem::create_symlink(folder.file("nowhere.jpg"), folder.file("b.jpeg"));
    test::spit(folder.file("c.bmp"), "x");
    const std::string dir = folder.path() + PathSeparator;
    EXPECT_EQ(FindPreviewPicture(dir), dir + "c.bmp");
}

} // namespace
} // namespace doorsel
