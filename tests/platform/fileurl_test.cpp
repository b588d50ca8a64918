#include "platform/appinfo.h"
#include "platform/fileurl.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

// Every byte that is not plainly safe is encoded as it stands, so the opener gets back the very name.
TEST(FileUrl, keepsEveryByteOfTheNameAndTheFolders)
{
    const std::string sep(1, PathSeparator);
    const struct {
        std::string path;
        const char* url;
    } cases[] = {
        {sep + "pics" + sep + "a b" + sep + "caf\xe9 \xff\xfe.jpg", "file:///pics/a%20b/caf%E9%20%FF%FE.jpg"},
        {sep + "x" + sep + "%#?&<b>.bmp", "file:///x/%25%23%3F%26%3Cb%3E.bmp"},
        {"C:" + sep + "Logons" + sep + "p.jpg", "file:///C%3A/Logons/p.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileUrl(c.path), c.url) << c.path;
}

} // namespace
} // namespace doorsel
