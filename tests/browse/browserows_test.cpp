#include "browse/browserows.h"
#include "browse/searchfolder.h"
#include "platform/appinfo.h"

#include <gtest/gtest.h>

#include <string>

namespace doorsel {
namespace {

// Each row gives back its path whole and its file and folder names as the walk makes them, whatever
// the rows before it, a path longer than the rows' blocks of storage included.
TEST(BrowseRows, eachRowGivesBackItsPathAndItsNamesAsTheWalkMakesThem)
{
    const std::string s(1, PathSeparator);
    const std::string longFolder(1500000, 'd');
    const struct {
        std::string folderPath;
        std::string fileName;
    } cases[] = {
        {s + "Logons" + s + "Bliss" + s, "logonui.exe"},
        {s, "x.exe"}, // a root: no folder name
        {"C:" + s, "setup.exe"},
        {s + longFolder + s, "long.exe"},
        {s + "Logons" + s + "Old" + s, ".exe"},
        {s + "a" + s, "b.exe"},
    };
    BrowseRows rows;
    for (const auto& c : cases)
        rows.add(c.folderPath + c.fileName);
    rows.setMarked(3, true);
    ASSERT_EQ(rows.size(), std::size(cases));
    for (size_t row = 0; row < rows.size(); ++row) {
        const auto& c = cases[row];
        EXPECT_EQ(rows.fullPath(row), c.folderPath + c.fileName) << row;
        EXPECT_EQ(rows.fileName(row), c.fileName) << row;
        EXPECT_EQ(rows.folderName(row), FolderNameOf(c.folderPath)) << row;
        EXPECT_EQ(rows.marked(row), row == 3) << row;
    }
}

} // namespace
} // namespace doorsel
