#include "about/version.h"
#include "platform/appinfo.h"

#include <gtest/gtest.h>

namespace doorsel::about {
namespace {

struct ItemCase {
    const char* fileText;
    std::optional<std::string> item;
};

TEST(FirstDataItem, readsUpToCommaOrLineEndWithoutQuotes)
{
    const ItemCase cases[] = {
        {"2.1.0", "2.1.0"},
        {"2.1.0\r\n", "2.1.0"},
        {"2.1.0\n1.0.0\n", "2.1.0"},
        {"2.1.0\r1.0.0", "2.1.0"},
        {"2.1.0,extra", "2.1.0"},
        {"2.1.0,extra\r\nmore", "2.1.0"},
        {"   2.1.0", "2.1.0"},
        {"\t2.1.0 ,x", "2.1.0"},
        {"2.0.0  \r\n", "2.0.0"},
        {"\"2.1.0\"", "2.1.0"},
        {"  \"2.1.0\",x", "2.1.0"},
        {"\"2,1\"", "2,1"},
        {"\" 2.1.0 \"", " 2.1.0 "},
        {"\"2.1.0", "2.1.0"},
        {"\"2.1.0\r\n\"", "2.1.0"},
        {"\xEF\xBB\xBF"
         "2.1.0\r\n",
            "2.1.0"},
        {"", std::nullopt},
        {"\r\n2.1.0", std::nullopt},
        {"   \r\n", std::nullopt},
        {",2.1.0", std::nullopt},
        {"\"\"", std::nullopt},
    };
    for (const ItemCase& c : cases)
        EXPECT_EQ(FirstDataItem(c.fileText), c.item) << '"' << c.fileText << '"';
}

TEST(IsNewerVersion, comparesCharacterCodesNotNumbers)
{
    const struct {
        const char* candidate;
        bool newer;
    } cases[] = {
        {"2.0.0", false},
        {"2.0.1", true},
        {"2.1.0", true},
        {"3.0.0", true},
        {"2.0.0.1", true},
        {"2.0.0b", true},
        {"1.9.9", false},
        {"10.0.0", false},
        {"2.0", false},
        {"", false},
        {"2.0.0 ", true},
        {"2.0.00", true},
        {"2.0.0A", true},
        {"\xE9", true},
        {"!", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNewerVersion(c.candidate, ProductVersion), c.newer) << c.candidate;
}

TEST(OutcomeOfCheck, namesTheNewVersionOrSaysThereIsNone)
{
    const std::optional<CheckOutcome> newer = OutcomeOfCheck("2.1.0,extra\r\n", "2.0.0");
    ASSERT_TRUE(newer);
    EXPECT_EQ(newer->caption, "New Version (2.1.0) Is Available!");
    EXPECT_TRUE(newer->showDownloadLink);

    const std::optional<CheckOutcome> same = OutcomeOfCheck("\"2.0.0\"\r\n", "2.0.0");
    ASSERT_TRUE(same);
    EXPECT_EQ(same->caption, "No Update Available.");
    EXPECT_FALSE(same->showDownloadLink);

    EXPECT_FALSE(OutcomeOfCheck("", "2.0.0"));
}

// The caption holds the server's version inside an isolate, without the controls that could steer
// the words around it, and with every other byte as sent: letters whose first byte a control also
// starts with, and such a byte where the text ends.
TEST(NewVersionCaption, dropsOnlyTheBidirectionalControls)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2.1.0", "2.1.0"},
        {"\u202E2.1.0\u202C x", "\u20682.1.0 x\u2069"},
        {"\u061C3.0\u200F", "\u20683.0\u2069"},
        {"3.0 \u20AC \u0628", "\u20683.0 \u20AC \u0628\u2069"},
        {"\u2069\u2066\u2067\u2068x", "\u2068x\u2069"},
        {"3.0 \xE2", "\u20683.0 \xE2\u2069"},
        {"3.0 \xD8", "\u20683.0 \xD8\u2069"},
    };
    for (const auto& [version, shown] : cases)
        EXPECT_EQ(NewVersionCaption(version), std::string("New Version (") + shown + ") Is Available!") << version;
}

} // namespace
} // namespace doorsel::about
