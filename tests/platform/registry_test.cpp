#include "platform/registry.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

// A key of the tests' own, removed again on both back-ends.
class Registry : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const char* name : {"A", "B", "Spaces"})
            DeleteRegValue(key + name);
    }
    test::TestFolder folder;
    const std::string key = "HKEY_CURRENT_USER\\Software\\DoorselTests\\";
    const std::string shortKey = "HKCU\\Software\\DoorselTests\\";
};

TEST_F(Registry, missingValueReadsEmpty)
{
    EXPECT_EQ(ReadRegValue(key + "A"), "");
    EXPECT_EQ(ReadRegValue("HKLM\\SOFTWARE\\NoSuchKeyAnywhere\\NoValue"), "");
    EXPECT_EQ(ReadRegValue("not a registry path"), "");
}

TEST_F(Registry, fullAndShortRootReachTheSameValue)
{
    WriteRegValue(key + "A", "written under the full name");
    EXPECT_EQ(ReadRegValue(shortKey + "A"), "written under the full name");
    WriteRegValue(shortKey + "A", "and replaced under the short one");
    EXPECT_EQ(ReadRegValue(key + "a"), "and replaced under the short one");
}

TEST_F(Registry, valuesRoundTripExactly)
{
    for (const char* value : {"C:\\Program Files\\My Logon\\logonui.exe", "\"C:\\x y\\doorsel.exe\" -random",
             " lead and trail ", "caf\xc3\xa9 \xce\xa9 \xe8\xa1\xa8"}) {
        WriteRegValue(key + "Spaces", value);
        EXPECT_EQ(ReadRegValue(key + "Spaces"), value);
    }
    // The system registry holds UTF-16 text: bytes that are no UTF-8 are no value there, and writing
    // them changes nothing rather than storing a stand-in. The portable store keeps them as they are.
    WriteRegValue(key + "Spaces", "caf\xe9");
    EXPECT_EQ(
        ReadRegValue(key + "Spaces"), RegistryStorePath().empty() ? "caf\xc3\xa9 \xce\xa9 \xe8\xa1\xa8" : "caf\xe9");
}

TEST_F(Registry, writeAndDeleteTouchOnlyTheirValue)
{
    WriteRegValue(key + "A", "1");
    WriteRegValue(key + "B", "2");
    DeleteRegValue(key + "A");
    DeleteRegValue(key + "A"); // a second delete is silent
    EXPECT_EQ(ReadRegValue(key + "A"), "");
    EXPECT_EQ(ReadRegValue(key + "B"), "2");
}

TEST_F(Registry, unknownRootIsIgnored)
{
    WriteRegValue("HKEY_NOWHERE\\Software\\A", "x");
    DeleteRegValue("HKEY_NOWHERE\\Software\\A");
    EXPECT_EQ(ReadRegValue("HKEY_NOWHERE\\Software\\A"), "");
}

TEST_F(Registry, damagedStoreNeverCrashesAndKeepsItsReadableValues)
{
    if (RegistryStorePath().empty())
        GTEST_SKIP() << "the system registry is in use";
    using namespace std::string_literals;
    test::spit(RegistryStorePath(),
        "\xff\xfe\x00junk\r\n[HKEY_CURRENT_USER\\Software\\DoorselTests]\r\n"
        "\"B\"=\"kept\"\r\n\"A\"=\"trunc"s);
    EXPECT_EQ(ReadRegValue(key + "A"), "");
    EXPECT_EQ(ReadRegValue(key + "B"), "kept");
    WriteRegValue(key + "Spaces", "new");
    EXPECT_EQ(ReadRegValue(key + "B"), "kept");
    EXPECT_EQ(ReadRegValue(key + "Spaces"), "new");
}

} // namespace
} // namespace doorsel
