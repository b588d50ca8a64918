#include "about/linkstext.h"

#include <gtest/gtest.h>

namespace doorsel::about {
namespace {

TEST(LinksText, putsALineBreakBeforeEveryLine)
{
    const struct {
        const char* file;
        const char* text;
    } cases[] = {
        {"", ""},
        {"a", "\r\na"},
        {"a\r\n", "\r\na"},
        {"a\r\nb", "\r\na\r\nb"},
        {"a\r\nb\r\n", "\r\na\r\nb"},
        {"a\r\n\r\nc\r\n", "\r\na\r\n\r\nc"},
        {"a\rb\r", "\r\na\r\nb"},
        {"a\nb\n", "\r\na\r\nb"},
        {"a\r\r\nb", "\r\na\r\n\r\nb"},
        {"\r\n", "\r\n"},
        {"\r\n\r\n", "\r\n\r\n"},
        {"\n\r", "\r\n\r\n"},
        {"  spaced line \t\r\n", "\r\n  spaced line \t"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinksText(c.file), c.text) << testing::PrintToString(std::string(c.file));
}

} // namespace
} // namespace doorsel::about
