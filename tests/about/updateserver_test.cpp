#include "about/updateserver.h"
#include "platform/settings.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel::about {
namespace {

TEST(BaseUrlFrom, usesTheSettingWithoutTrailingSlashesElseTheBuiltInServer)
{
    const struct {
        const char* setting;
        const char* base;
    } cases[] = {
        {"", "http://doorsel.example"},
        {"   ", "http://doorsel.example"},
        {"/", "http://doorsel.example"},
        {"http://127.0.0.1:8000", "http://127.0.0.1:8000"},
        {"http://127.0.0.1:8000/", "http://127.0.0.1:8000"},
        {"http://127.0.0.1:8000//", "http://127.0.0.1:8000"},
        {"http://mirror.example/products", "http://mirror.example/products"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BaseUrlFrom(c.setting), c.base) << '"' << c.setting << '"';
}

TEST(ServerBaseUrl, readsTheSettingEachTime)
{
    test::TestFolder folder;
    EXPECT_EQ(ServerBaseUrl(), "http://doorsel.example");
    ASSERT_TRUE(settings::Write(settings::UpdateServer, "http://127.0.0.1:8000/"));
    EXPECT_EQ(ServerBaseUrl(), "http://127.0.0.1:8000");
    EXPECT_EQ(WebPageUrl(ServerBaseUrl()), "http://127.0.0.1:8000/doorsel/");
    EXPECT_EQ(VersionFileUrl(ServerBaseUrl()), "http://127.0.0.1:8000/doorsel/CurrentVersion.dat");
    EXPECT_EQ(LinksFileUrl(ServerBaseUrl()), "http://127.0.0.1:8000/doorsel/links.dat");
}

} // namespace
} // namespace doorsel::about
