#include "browse/browselayout.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

TEST(BrowseLayout, eachValueOfTheRandomSettingHasItsOwnBottomRow)
{
    const struct {
        const char* value;
        bool changes;
        bool checkBoxes;
        int buttonsTop;
        int checkCloseTop;
        int height;
    } cases[] = {
        {"", true, false, 3555, 3735, 4395},
        {"0", true, false, 3700, 3885, 4675},
        {"00", true, false, 3700, 3885, 4675},
        {"no", true, false, 3700, 3885, 4675},
        {"1", true, true, 4095, 4275, 5070},
        {" 1", true, true, 4095, 4275, 5070},
        {"1.0", true, true, 4095, 4275, 5070},
        {"+1", true, true, 4095, 4275, 5070},
        {"0.0", true, false, 3700, 3885, 4675},
        {"1.5", false, false, 0, 0, 0},
        {"2", false, false, 0, 0, 0},
        {"-1", false, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const std::optional<BrowseLayout> layout = BrowseLayoutFor(c.value);
        ASSERT_EQ(layout.has_value(), c.changes) << '"' << c.value << '"';
        if (!layout)
            continue;
        EXPECT_EQ(layout->listCheckBoxes, c.checkBoxes) << c.value;
        EXPECT_EQ(layout->randomControlsVisible, c.checkBoxes) << c.value;
        EXPECT_EQ(layout->buttonsTop, c.buttonsTop) << c.value;
        EXPECT_EQ(layout->checkCloseTop, c.checkCloseTop) << c.value;
        EXPECT_EQ(layout->windowHeight, c.height) << c.value;
    }
}

TEST(BrowseLayout, captionQuotesTheFolderExactlyAsStored)
{
    EXPECT_EQ(BrowseCaption("C:\\WINDOWS\\Resources\\"),
        "Currently browsing \"C:\\WINDOWS\\Resources\\\" and it's sub-directories.");
    EXPECT_EQ(BrowseCaption("/srv/logons"), "Currently browsing \"/srv/logons\" and it's sub-directories.");
}

} // namespace
} // namespace doorsel
