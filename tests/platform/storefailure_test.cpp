#include "platform/appinfo.h"
#include "platform/storefailure.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

void whatStandsInTheWayIn(const std::string& programFolder)
{
    const std::string store = programFolder + PathSeparator + "config.ini";
    const fs::path storePath = test::pathOf(store);
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::string path;
        std::string reason;
    } cases[] = {
        {"system registry", [] {}, "", "no permission to change the system registry"},
        {"folder", [&] { fs::create_directory(storePath); }, store, "config.ini in the program folder is not a file"},
        {"read-only file",
            [&] {
                test::spit(store, "[Options]\r\n");
                fs::permissions(storePath, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
            },
            store, "config.ini in the program folder is read-only"},
        {"nothing in the way", [&] { test::spit(store, "[Options]\r\n"); }, store,
            "config.ini in the program folder could not be written"},
    };
    for (const auto& c : cases) {
        c.arrange();
        EXPECT_EQ(WhyNotWritten(c.path), c.reason) << c.what << " in " << programFolder;
        if (fs::exists(storePath))
            fs::permissions(storePath, fs::perms::owner_all);
        fs::remove_all(storePath);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(test::pathOf(programFolder)), fs::directory_iterator()), 0)
        << "the check leaves nothing behind";
}

// The reason a failed write reports is read off what stands in the store's way, in a program folder
// of any name.
TEST(WhyNotWritten, namesWhatStandsInTheWay)
{
    test::TestFolder folder;
    for (const std::string& programFolder : {folder.path(), folder.file("\u0141ukasz \u8868")}) { // Łukasz 表
        test::makeFolders(programFolder);
        whatStandsInTheWayIn(programFolder);
    }
}

} // namespace
} // namespace doorsel
