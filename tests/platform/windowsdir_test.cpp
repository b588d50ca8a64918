#include "platform/appinfo.h"
#include "platform/windowsdir.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

TEST(WindowsDir, isAFolderWithoutTrailingSeparator)
{
    test::TestFolder folder;
    const std::string dir = GetWindowsDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), PathSeparator);
#ifdef _WIN32
    EXPECT_NE(dir, folder.path());
#else
    // No Windows folder here: the program folder stands in for it.
    EXPECT_EQ(dir, folder.path());
#endif
}

} // namespace
} // namespace doorsel
