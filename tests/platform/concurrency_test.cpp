#include "platform/appinfo.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "support/spawn.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <string>

namespace doorsel {
namespace {

constexpr int KeysPerWriter = 500;

// Two processes write different keys into one store at the same time; every key must survive.
void runTwoWriters(const std::string& kind, const std::string& target)
{
    const std::string writer = test::siblingExecutable("doorsel_store_writer");
    test::Process first(writer, {kind, target, "First", std::to_string(KeysPerWriter)});
    test::Process second(writer, {kind, target, "Second", std::to_string(KeysPerWriter)});
    ASSERT_EQ(first.wait(), 0);
    ASSERT_EQ(second.wait(), 0);
}

TEST(Concurrency, twoProcessesWritingOneSettingsFileLoseNoKey)
{
    test::TestFolder folder;
    runTwoWriters("ini", ConfigPath);
    int missing = 0;
    for (const char* prefix : {"First", "Second"}) {
        for (int i = 0; i < KeysPerWriter; ++i) {
            if (ReadIniValue("Options", prefix + std::to_string(i), ConfigPath) != std::to_string(i))
                ++missing;
        }
    }
    EXPECT_EQ(missing, 0);
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
