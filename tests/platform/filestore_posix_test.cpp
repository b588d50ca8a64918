// Stores in the states a real machine can leave them in: owned by another user, unreadable,
// linked, or with a link planted beside them by someone else.
#include "platform/appinfo.h"
#include "platform/filestore.h"
#include "platform/profile.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

constexpr uid_t Nobody = 65534;

// Runs `body` in a child process after `prepare` (which may drop rights or lower limits) and
// returns what the body returned.
bool inChild(const std::function<void()>& prepare, const std::function<bool()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        prepare();
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// As another user: root's rights would read any file. The folder stays writable to that user, as
// a shared program folder is.
bool asAnotherUser(const std::string& folder, const std::function<bool()>& body)
{
    if (::geteuid() != 0)
        return body();
    fs::permissions(folder, fs::perms::all);
    return inChild(
        [] {
            if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
                ::_exit(2);
        },
        body);
}

TEST(FileStorePosix, storeThatCannotBeReadIsNotReplaced)
{
    const std::string settings = "[Options]\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\nE=5\r\n";
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
    };
    const std::vector<Case> cases = {
        {"unreadable to the caller",
            [&](const std::string& path) {
                test::spit(path, settings);
                fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
            }},
        {"a link to itself", [](const std::string& path) { fs::create_symlink(path, path); }},
        {"a link to nothing", [](const std::string& path) { fs::create_symlink(path + ".gone", path); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestFolder folder;
        c.make(ConfigPath);
        const auto before = fs::symlink_status(ConfigPath);
        EXPECT_FALSE(
            asAnotherUser(folder.path(), [] { return WriteIniValue("Options", "NextRotation", "0", ConfigPath); }));
        EXPECT_EQ(fs::symlink_status(ConfigPath).type(), before.type());
        if (before.type() == fs::file_type::regular) {
            EXPECT_EQ(test::slurp(ConfigPath), settings);
        }
        EXPECT_FALSE(test::exists(ConfigPath + ".gone"));
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
    }
}

TEST(FileStorePosix, readOnlyStoreOfAnotherUserIsNotReplaced)
{
    test::TestFolder folder;
    test::spit(ConfigPath, "[Options]\r\nKey=old\r\n");
    fs::permissions(ConfigPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(asAnotherUser(folder.path(), [] { return WriteIniValue("Options", "Key", "new", ConfigPath); }));
    EXPECT_EQ(test::slurp(ConfigPath), "[Options]\r\nKey=old\r\n");
}

TEST(FileStorePosix, replacementKeepsModeOwnerAndLink)
{
    test::TestFolder folder;
    const std::string target = folder.file("elsewhere.ini");
    test::spit(target, "[Options]\r\nKey=old\r\n");
    fs::create_symlink(target, ConfigPath);
    ::chmod(target.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), Nobody, Nobody), 0);
    }

    ASSERT_TRUE(WriteIniValue("Options", "Key", "new", ConfigPath));

    EXPECT_TRUE(fs::is_symlink(ConfigPath));
    EXPECT_EQ(test::slurp(target), "[Options]\r\nKey=new\r\n");
    struct stat st { };
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640U);
    if (root) {
        EXPECT_EQ(st.st_uid, Nobody);
        EXPECT_EQ(st.st_gid, Nobody);
    }
}

// Someone who may write the program folder plants a link where a careless writer would put its
// temporary file; the file the link names must stay untouched.
TEST(FileStorePosix, plantedLinkAtTheTemporaryNameIsNotFollowed)
{
    test::TestFolder folder;
    const std::string victim = folder.file("victim");
    test::spit(victim, "precious");
    const std::string store = folder.file("CurrentVersion.dat");
    fs::create_symlink(victim, store + ".tmp");

    ASSERT_TRUE(ReplaceStoreFile(store, "2.0.0\r\n"));

    EXPECT_EQ(test::slurp(victim), "precious");
    EXPECT_EQ(test::slurp(store), "2.0.0\r\n");
}

// A download lands in the program folder whatever someone linked there under its name.
TEST(FileStorePosix, replacingLinkPolicyReplacesTheLinkNotItsTarget)
{
    test::TestFolder folder;
    const std::string victim = folder.file("victim");
    test::spit(victim, "precious");
    const std::string download = folder.file("links.dat");
    fs::create_symlink(victim, download);

    ASSERT_TRUE(ReplaceStoreFile(download, "fetched\r\n", Links::Replace));

    EXPECT_EQ(test::slurp(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(download));
    EXPECT_EQ(test::slurp(download), "fetched\r\n");
}

// A write the disk cannot take whole (here a file-size limit, as a full disk would) fails, keeps
// the old content and leaves no partial file behind.
TEST(FileStorePosix, writeCutShortFailsAndChangesNothing)
{
    test::TestFolder folder;
    const std::string old = "[Options]\r\nKey=old\r\n";
    test::spit(ConfigPath, old);
    const bool written = inChild(
        [] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit {4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        },
        [] { return WriteIniValue("Options", "Big", std::string(8192, 'x'), ConfigPath); });
    EXPECT_FALSE(written);
    EXPECT_EQ(test::slurp(ConfigPath), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace doorsel
