// Stores in the states a real machine can leave them in: owned by another user, unreadable,
// linked, or with a link planted beside them by someone else.
#include "platform/appinfo.h"
#include "platform/filestore.h"
#include "platform/profile.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
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
        EXPECT_EQ(test::entries(folder.path()).size(), 1U);
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

// A store's access control list and extended attributes are the user's: the replacement keeps
// them, and its mode with them.
TEST(FileStorePosix, replacementKeepsAccessControlListAndExtendedAttributes)
{
    test::TestFolder folder;
    test::spit(ConfigPath, "[Options]\r\nKey=old\r\n");
    ::chmod(ConfigPath.c_str(), 0640);
    // The kernel's form of an access list: a version, then (tag, permissions, id) entries in tag
    // order: the owner rw-, user nobody r--, the group r--, the mask rw-, others ---.
    struct Entry {
        std::uint16_t tag;
        std::uint16_t perm;
        std::uint32_t id;
    };
    const std::uint32_t version = 2;
    const Entry acl[] = {{0x01, 6, ~0U}, {0x02, 4, Nobody}, {0x04, 4, ~0U}, {0x10, 6, ~0U}, {0x20, 0, ~0U}};
    std::string blob(reinterpret_cast<const char*>(&version), sizeof version);
    blob.append(reinterpret_cast<const char*>(acl), sizeof acl);
    if (::setxattr(ConfigPath.c_str(), "system.posix_acl_access", blob.data(), blob.size(), 0) != 0
        || ::setxattr(ConfigPath.c_str(), "user.origin", "kept", 4, 0) != 0)
        GTEST_SKIP() << "no access lists or user attributes on this file system";
    const auto attribute = [](const char* name) {
        std::string value(256, '\0');
        const ssize_t n = ::getxattr(ConfigPath.c_str(), name, value.data(), value.size());
        value.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return value;
    };
    const std::string aclBefore = attribute("system.posix_acl_access");
    struct stat before { };
    ASSERT_EQ(::stat(ConfigPath.c_str(), &before), 0);

    ASSERT_TRUE(WriteIniValue("Options", "Key", "new", ConfigPath));

    EXPECT_EQ(test::slurp(ConfigPath), "[Options]\r\nKey=new\r\n");
    EXPECT_EQ(attribute("system.posix_acl_access"), aclBefore);
    EXPECT_EQ(attribute("user.origin"), "kept");
    struct stat after { };
    ASSERT_EQ(::stat(ConfigPath.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
}

// Another local user may open the program folder and read its files, but not write them: no lock
// that user can take holds up the writers.
TEST(FileStorePosix, anotherUsersLocksDoNotHoldUpTheWriters)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    test::TestFolder folder;
    ASSERT_TRUE(WriteIniValue("Options", "Key", "old", ConfigPath));
    ::chmod(folder.path().c_str(), 0755);
    int ready[2] = {-1, -1};
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(2);
        for (const std::string& name : {std::string(), std::string(detail::StoreLockName), std::string("config.ini")}) {
            const int fd = ::open((folder.path() + "/" + name).c_str(), O_RDONLY);
            struct flock shared { };
            shared.l_type = F_RDLCK;
            ::flock(fd, LOCK_EX);
            ::flock(fd, LOCK_SH);
            ::fcntl(fd, F_SETLK, &shared);
            ::fcntl(fd, F_OFD_SETLK, &shared);
        }
        [[maybe_unused]] const ssize_t told = ::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char told = 0;
    ASSERT_EQ(::read(ready[0], &told, 1), 1);

    const bool locked = static_cast<bool>(detail::LockStore(ConfigPath, Links::Follow, std::chrono::milliseconds(500)));
    EXPECT_TRUE(locked);
    if (locked) {
        EXPECT_TRUE(WriteIniValue("Options", "Key", "new", ConfigPath));
    }
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

// A lock file that is already there is used only when it belongs to the writer or to the folder's
// owner (root writing in a user's folder), and is closed to everyone else before it is used; one
// that someone else planted in a folder they may write is never used, so they cannot hold it.
TEST(FileStorePosix, anExistingLockFileIsUsedOnlyWhenItsOwnerMayHoldIt)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "files of another user need root";
    const struct {
        const char* name;
        uid_t folderOwner;
        uid_t lockOwner;
        mode_t lockMode;
        bool used;
    } cases[] = {
        {"the writer's own, open to others", 0, 0, 0644, true},
        {"the folder owner's", Nobody, Nobody, 0600, true},
        {"planted by another user", 0, Nobody, 0600, false},
    };
    for (const auto& c : cases) {
        test::TestFolder folder;
        const std::string lock = folder.path() + "/" + detail::StoreLockName;
        const int fd = ::open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL, c.lockMode);
        ASSERT_GE(fd, 0) << c.name;
        ::close(fd);
        ASSERT_EQ(::chmod(lock.c_str(), c.lockMode), 0);
        ASSERT_EQ(::chown(lock.c_str(), c.lockOwner, c.lockOwner), 0);
        ASSERT_EQ(::chown(folder.path().c_str(), c.folderOwner, c.folderOwner), 0);
        EXPECT_EQ(WriteIniValue("Options", "Key", "new", ConfigPath), c.used) << c.name;
        struct stat st { };
        ASSERT_EQ(::stat(lock.c_str(), &st), 0);
        EXPECT_EQ((st.st_mode & 077) == 0, c.used || (c.lockMode & 077) == 0) << c.name;
        ASSERT_EQ(::chown(folder.path().c_str(), 0, 0), 0);
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
    EXPECT_EQ(test::entries(folder.path()).size(), 1U);
}

} // namespace
} // namespace doorsel
