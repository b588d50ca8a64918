#include "platform/appinfo.h"
#include "platform/filestore.h"
#include "platform/profile.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

TEST(FileStore, updateCreatesReplacesAndLeavesNoTemporaryBehind)
{
    test::TestFolder folder;
    const std::string path = folder.file("store.txt");

    EXPECT_FALSE(ReadStoreFile(path).has_value());
    EXPECT_TRUE(UpdateStoreFile(path, [](const std::optional<std::string>& current) {
        EXPECT_FALSE(current.has_value());
        return std::optional<std::string>("first");
    }));
    EXPECT_EQ(ReadStoreFile(path).value_or("?"), "first");

    EXPECT_TRUE(UpdateStoreFile(path, [](const std::optional<std::string>& current) {
        return std::optional<std::string>(current.value_or("") + "+second");
    }));
    EXPECT_EQ(ReadStoreFile(path).value_or("?"), "first+second");
    EXPECT_FALSE(test::exists(path + ".tmp"));
}

TEST(FileStore, editThatDeclinesLeavesTheFileAsItWas)
{
    test::TestFolder folder;
    const std::string path = folder.file("store.txt");
    test::spit(path, "old bytes\r\n");
    EXPECT_FALSE(UpdateStoreFile(path, [](const std::optional<std::string>&) { return std::optional<std::string>(); }));
    EXPECT_EQ(test::slurp(path), "old bytes\r\n");
}

TEST(FileStore, missingFolderFailsWithoutCreatingAnything)
{
    test::TestFolder folder;
    const std::string path = folder.file("no-such-folder") + "/store.txt";
    EXPECT_FALSE(ReplaceStoreFile(path, "x"));
    EXPECT_FALSE(test::exists(folder.file("no-such-folder")));
}

TEST(FileStore, binaryContentRoundTripsExactly)
{
    test::TestFolder folder;
    const std::string path = folder.file("store.bin");
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    bytes += std::string("\0\r\n\x1a", 4);
    ASSERT_TRUE(ReplaceStoreFile(path, bytes));
    EXPECT_EQ(ReadStoreFile(path).value_or(""), bytes);
}

using test::entries;

// The program's files are the only ones it leaves in its folder: no temporary files and, besides
// the one lock file, nothing else, whatever the store and whether or not the write succeeded.
TEST(FileStore, writesLeaveOnlyTheStoresInTheFolder)
{
    test::TestFolder folder;
    ASSERT_TRUE(WriteIniValue("Options", "Key", "1", ConfigPath));
    ASSERT_TRUE(ReplaceStoreFile(folder.file("random.dat"), "/logons/a.exe\r\n"));
    ASSERT_TRUE(ReplaceStoreFile(folder.file("random.dat"), "/logons/b.exe\r\n"));
    EXPECT_FALSE(ReplaceStoreFile(folder.file("random.dat") + PathSeparator + "x", "x"));
    EXPECT_EQ(entries(folder.path()), (std::set<std::string> {"config.ini", "random.dat"}));
}

// A writer killed mid-write leaves its temporary file behind; the next write of any store in the
// folder removes it, and never a user's own file that merely looks alike.
TEST(FileStore, writeRemovesWhatKilledWritersLeftAndNothingElse)
{
    test::TestFolder folder;
    const std::string hidden = PathSeparator == '/' ? "." : "";
    const std::vector<std::string> leftovers = {
        hidden + "registry.reg.4242-0-123456.tmp", hidden + "random.dat.17-3-99.tmp", hidden + "config.ini.1-2-3.tmp"};
    const std::set<std::string> usersFiles
        = {"config.ini.backup before upgrade.tmp", ".config.ini.backup.tmp", hidden + "config.ini.1-2.tmp",
            hidden + "config.ini.1--3.tmp", hidden + "config.ini.1-2-x.tmp", "notes.tmp", hidden + ".1-2-3.tmp"};
    for (const std::string& name : leftovers)
        test::spit(folder.file(name), "left");
    for (const std::string& name : usersFiles)
        test::spit(folder.file(name), "mine");

    ASSERT_TRUE(WriteIniValue("Options", "Key", "1", ConfigPath));

    std::set<std::string> expected = usersFiles;
    expected.insert("config.ini");
    EXPECT_EQ(entries(folder.path()), expected);
}

// A program folder that could not be found gives an empty or relative store path: it is refused,
// and nothing in the current folder is read, written or removed.
TEST(FileStore, emptyOrRelativeStorePathIsRefused)
{
    test::TestFolder folder;
    const std::string leftover = (PathSeparator == '/' ? "." : "") + std::string("config.ini.1-2-3.tmp");
    test::spit(folder.file("config.ini"), "[Options]\r\nKey=old\r\n");
    test::spit(folder.file(leftover), "left");
    struct InFolder {
        fs::path before = fs::current_path();
        explicit InFolder(const std::string& folder) { fs::current_path(test::pathOf(folder)); }
        ~InFolder() { fs::current_path(before); }
        InFolder(const InFolder&) = delete;
        InFolder& operator=(const InFolder&) = delete;
    } inFolder(folder.path());
    for (const std::string& path :
        {std::string(), std::string("config.ini"), std::string(".") + PathSeparator + "config.ini"}) {
        EXPECT_FALSE(ReadStoreFile(path).has_value()) << path;
        EXPECT_FALSE(ReplaceStoreFile(path, "new")) << path;
        EXPECT_FALSE(WriteIniValue("Options", "Key", "new", path)) << path;
    }
    EXPECT_EQ(test::slurp(folder.file("config.ini")), "[Options]\r\nKey=old\r\n");
    EXPECT_EQ(entries(folder.path()), (std::set<std::string> {"config.ini", leftover}));
}

// A store the program must not replace: every writer fails, changes nothing and leaves nothing
// behind; once the cause is gone, the next write succeeds.
TEST(FileStore, storeThatMayNotBeWrittenIsLeftAsItWas)
{
    using Writer = std::function<bool(const std::string&)>;
    const std::vector<std::pair<const char*, Writer>> writers = {
        {"ReplaceStoreFile", [](const std::string& path) { return ReplaceStoreFile(path, "new\r\n"); }},
        {"WriteIniValue", [](const std::string& path) { return WriteIniValue("Options", "Key", "new", path); }},
    };
    struct State {
        const char* name;
        std::function<void(const std::string&)> make;
        std::function<void(const std::string&)> undo;
    };
    const std::vector<State> states = {
        {"read-only",
            [](const std::string& path) {
                test::spit(path, "[Options]\r\nKey=old\r\n");
                fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
            },
            [](const std::string& path) { fs::permissions(path, fs::perms::owner_write, fs::perm_options::add); }},
        {"a folder", [](const std::string& path) { fs::create_directory(path); },
            [](const std::string& path) { fs::remove(path); }},
    };
    for (const auto& [writerName, write] : writers) {
        for (const State& state : states) {
            SCOPED_TRACE(std::string(writerName) + " on a store that is " + state.name);
            test::TestFolder folder;
            const std::string path = folder.file("store.ini");
            state.make(path);
            const std::string before = fs::is_regular_file(path) ? test::slurp(path) : "";

            EXPECT_FALSE(write(path));
            EXPECT_FALSE(write(path)); // a failure does not break the next attempt
            if (fs::is_regular_file(path)) {
                EXPECT_EQ(test::slurp(path), before);
            }
            EXPECT_EQ(entries(folder.path()), std::set<std::string> {"store.ini"});

            state.undo(path);
            EXPECT_TRUE(write(path));
            EXPECT_EQ(entries(folder.path()), std::set<std::string> {"store.ini"});
        }
    }
}

// A writer that hangs holding the lock makes the next one fail after a while, not wait for ever.
TEST(FileStore, lockHeldElsewhereIsWaitedForOnlySoLong)
{
    test::TestFolder folder;
    const std::string path = folder.file("store.txt");
    const auto lockedWithin = [&](int milliseconds) {
        bool locked = false;
        std::thread([&] {
            locked = static_cast<bool>(detail::LockStore(path, Links::Follow, std::chrono::milliseconds(milliseconds)));
        }).join();
        return locked;
    };
    detail::StoreLock held = detail::LockStore(path);
    ASSERT_TRUE(held);
    EXPECT_FALSE(lockedWithin(200));

    // Handed on, the lock stays held until its last owner lets it go.
    detail::StoreLock moved = std::move(held);
    EXPECT_FALSE(lockedWithin(200));

    moved.release();
    EXPECT_TRUE(lockedWithin(5000));
}

} // namespace
} // namespace doorsel
