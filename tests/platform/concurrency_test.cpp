#include "platform/appinfo.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "support/spawn.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

constexpr int KeysPerWriter = 500;

// Two processes write different keys into one store at the same time; every key must survive.
void runTwoWriters(const std::string& kind, const std::string& target, const std::string& secondTarget = {})
{
    const std::string writer = test::siblingExecutable("doorsel_store_writer");
    test::Process first(writer, {kind, target, "First", std::to_string(KeysPerWriter)});
    test::Process second(
        writer, {kind, secondTarget.empty() ? target : secondTarget, "Second", std::to_string(KeysPerWriter)});
    ASSERT_EQ(first.wait(), 0);
    ASSERT_EQ(second.wait(), 0);
}

int missingSettings(const std::string& file)
{
    int missing = 0;
    for (const char* prefix : {"First", "Second"}) {
        for (int i = 0; i < KeysPerWriter; ++i) {
            if (ReadIniValue("Options", prefix + std::to_string(i), file) != std::to_string(i))
                ++missing;
        }
    }
    return missing;
}

TEST(Concurrency, twoProcessesWritingOneSettingsFileLoseNoKey)
{
    test::TestFolder folder;
    runTwoWriters("ini", ConfigPath);
    EXPECT_EQ(missingSettings(ConfigPath), 0);
}

// Two program folders whose settings are links to one file: the writers meet where the file is
// replaced, not each in its own folder.
TEST(Concurrency, twoProgramFoldersLinkedToOneSettingsFileLoseNoKey)
{
    test::TestFolder shared;
    test::TestFolder first;
    test::TestFolder second;
    const std::string file = shared.file("config.ini");
    test::spit(file, "[Options]\r\n");
    std::error_code error;
    for (const test::TestFolder* folder : {&first, &second})
        fs::create_symlink(test::pathOf(file), test::pathOf(folder->file("config.ini")), error);
    if (error)
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    runTwoWriters("ini", first.file("config.ini"), second.file("config.ini"));
    EXPECT_EQ(missingSettings(file), 0);
}

TEST(Concurrency, twoProcessesWritingTheRegistryStoreLoseNoValue)
{
    test::TestFolder folder;
    if (RegistryStorePath().empty())
        GTEST_SKIP() << "the system registry is in use";
    runTwoWriters("reg", folder.path());
    int missing = 0;
    for (const char* prefix : {"First", "Second"}) {
        for (int i = 0; i < KeysPerWriter; ++i) {
            if (ReadRegValue("HKLM\\SOFTWARE\\DoorselTest\\" + (prefix + std::to_string(i))) != std::to_string(i))
                ++missing;
        }
    }
    EXPECT_EQ(missing, 0);
}

} // namespace
} // namespace doorsel
