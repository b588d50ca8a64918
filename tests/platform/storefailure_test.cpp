#include "platform/appinfo.h"
#include "platform/storefailure.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

// The reason a failed write reports is read off what stands in the store's way.
TEST(WhyNotWritten, namesWhatStandsInTheWay)
{
    test::TestFolder folder;
    const std::string store = ConfigPath; // a file store on every platform
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::string path;
        std::string reason;
    } cases[] = {
        {"system registry", [] {}, "", "no permission to change the system registry"},
        {"folder", [&] { fs::create_directory(store); }, store, "config.ini in the program folder is not a file"},
        {"read-only file",
            [&] {
                test::spit(store, "[Options]\r\n");
                fs::permissions(store, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
            },
            store, "config.ini in the program folder is read-only"},
        {"nothing in the way", [&] { test::spit(store, "[Options]\r\n"); }, store,
            "config.ini in the program folder could not be written"},
    };
    for (const auto& c : cases) {
        c.arrange();
        EXPECT_EQ(WhyNotWritten(c.path), c.reason) << c.what;
        if (fs::exists(store))
            fs::permissions(store, fs::perms::owner_all);
        fs::remove_all(store);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 0)
        << "the check leaves nothing behind";
}

} // namespace
} // namespace doorsel
