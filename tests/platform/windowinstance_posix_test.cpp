#include "platform/windowinstance.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <thread>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

// The runtime folder of the tests' user, made fresh, that only this user may open.
class WindowInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }
    void TearDown() override { ::unsetenv("XDG_RUNTIME_DIR"); }

    test::TestFolder runtime;
};

TEST_F(WindowInstanceTest, aSecondStartIsAnsweredByTheFirstAndTheNextAfterItHoldsAgain)
{
    {
        WindowInstance first;
        ASSERT_TRUE(first.held());
        ASSERT_GE(first.requestHandle(), 0);
        std::thread window([&first] {
            pollfd ready {static_cast<int>(first.requestHandle()), POLLIN, 0};
            if (::poll(&ready, 1, 10000) == 1)
                first.takeRequests();
        });
        WindowInstance second;
        EXPECT_FALSE(second.held());
        EXPECT_TRUE(second.askRunningToComeForward());
        window.join();
    }
    WindowInstance afterwards;
    EXPECT_TRUE(afterwards.held());
}

// Whatever another may have put in the way, nobody else can take the window or be asked in its
// place: the window runs as the only one, and no later start hands over to a stranger.
TEST_F(WindowInstanceTest, aFolderOthersCouldEnterIsNeverUsed)
{
    const std::string folder = runtime.file("doorsel");
    const struct Case {
        const char* what;
        void (*prepare)(const std::string& folder, const std::string& elsewhere);
    } cases[] = {
        {"open to everyone",
            [](const std::string& folder, const std::string&) {
                fs::create_directory(folder);
                fs::permissions(folder, fs::perms::all, fs::perm_options::replace);
            }},
        {"a link to another folder",
            [](const std::string& folder, const std::string& elsewhere) {
                fs::create_directory_symlink(elsewhere, folder);
            }},
    };
    for (const Case& c : cases) {
        test::TestFolder elsewhere;
        fs::permissions(elsewhere.path(), fs::perms::owner_all, fs::perm_options::replace);
        c.prepare(folder, elsewhere.path());
        WindowInstance first;
        WindowInstance second;
        EXPECT_TRUE(first.held() && second.held()) << c.what;
        EXPECT_EQ(first.requestHandle(), -1) << c.what;
        EXPECT_TRUE(fs::is_empty(elsewhere.path())) << c.what;
        fs::remove_all(folder);
    }
}

} // namespace
} // namespace doorsel
