// A writer killed at any moment leaves each store either as it was or as the next write made it:
// never empty, never cut off in the middle.
#include "platform/appinfo.h"
#include "platform/registry.h"
#include "support/spawn.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

constexpr int Kills = 15;

// The writer adds Key0, Key1, ... in turn, so every complete state of the file is a prefix of this.
std::string settingsWithKeys(int count)
{
    std::string text = "[Options]\r\n";
    for (int i = 0; i < count; ++i)
        text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    return text;
}

std::string registryWithValues(int count)
{
    std::string text = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\DoorselTest]\r\n";
    for (int i = 0; i < count; ++i)
        text += "\"Key" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\r\n";
    return text;
}

std::string listWithRows(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "/logons/Key" + std::to_string(i) + "/logonui.exe\r\n";
    return text;
}

// Starts the writer over and over and kills it after a random moment; after each kill the file
// must be one of the complete states.
template <typename Complete>
void killWritersAndCheck(const std::string& kind, const std::string& target, const std::string& file, Complete complete)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMs(2, 40);
    const std::string writer = test::siblingExecutable("doorsel_store_writer");
    for (int round = 0; round < Kills; ++round) {
        test::Process process(writer, {kind, target, "Key", "100000"});
        // The kill comes at a random moment after the first write, so that every round checks a
        // store (a slow start would otherwise leave nothing to check).
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!test::exists(file) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(test::exists(file)) << "the writer wrote nothing";
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        process.kill();
        const std::string text = test::slurp(file);
        bool found = false;
        for (int count = 1; count <= 100000 && !found; ++count) {
            const std::string expected = complete(count);
            if (expected.size() > text.size())
                break;
            found = expected == text;
        }
        ASSERT_TRUE(found) << "round " << round << ": a killed write left " << text.size() << " bytes ending in \""
                           << text.substr(text.size() > 40 ? text.size() - 40 : 0) << "\"";
    }
    // What the killed writers left beside the store goes with the next write.
    ASSERT_EQ(test::Process(writer, {kind, target, "Last", "1"}).wait(), 0);
    EXPECT_EQ(test::entries(fs::path(file).parent_path().string()).size(), 1U);
}

TEST(CrashSafety, killedSettingsWriterLeavesACompleteFile)
{
    test::TestFolder folder;
    killWritersAndCheck("ini", ConfigPath, ConfigPath, settingsWithKeys);
}

TEST(CrashSafety, killedRegistryWriterLeavesACompleteStore)
{
    test::TestFolder folder;
    if (RegistryStorePath().empty())
        GTEST_SKIP() << "the system registry is in use";
    killWritersAndCheck("reg", folder.path(), RegistryStorePath(), registryWithValues);
}

TEST(CrashSafety, killedRandomListSaveLeavesACompleteList)
{
    test::TestFolder folder;
    killWritersAndCheck("list", folder.path(), folder.file("random.dat"), listWithRows);
}

} // namespace
} // namespace doorsel
