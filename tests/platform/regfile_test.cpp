#include "platform/regfile.h"

#include <gtest/gtest.h>

namespace doorsel::regfile {
namespace {

using namespace std::string_literals;

const ValuePath uiHost {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "UIHost"};

TEST(RegFilePath, rootsAreMappedToTheirFullNamesAndTheValueNameSplitOff)
{
    const auto full
        = splitValuePath("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\UIHost");
    const auto shortRoot = splitValuePath("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\UIHost");
    ASSERT_TRUE(full && shortRoot);
    EXPECT_EQ(full->key, uiHost.key);
    EXPECT_EQ(full->name, "UIHost");
    EXPECT_EQ(shortRoot->key, full->key);
    EXPECT_EQ(shortRoot->name, full->name);

    const auto run
        = splitValuePath("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Doorsel Random");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->name, "Doorsel Random");

    const auto defaultValue = splitValuePath("HKCU\\Software\\X\\");
    ASSERT_TRUE(defaultValue);
    EXPECT_EQ(defaultValue->key, "HKEY_CURRENT_USER\\Software\\X");
    EXPECT_EQ(defaultValue->name, "");

    EXPECT_FALSE(splitValuePath("HKXX\\Software\\X"));
    EXPECT_FALSE(splitValuePath("UIHost"));
    EXPECT_FALSE(splitValuePath(""));
}

TEST(RegFile, newFileIsAnImportableExport)
{
    const auto text = withValue("", uiHost, "C:\\Logons\\My \"Best\"\\logonui.exe");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text,
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]\r\n"
        "\"UIHost\"=\"C:\\\\Logons\\\\My \\\"Best\\\"\\\\logonui.exe\"\r\n");
    EXPECT_EQ(lookup(*text, uiHost).value_or("?"), "C:\\Logons\\My \"Best\"\\logonui.exe");
}

TEST(RegFile, valuesRoundTripByteForByte)
{
    const std::string values[] = {
        "logonui.exe",
        "with  two  spaces ",
        "\"quoted\"",
        "back\\slash\\",
        "\\\\server\\share\\a.exe",
        "caf\xe9 \xc3\xa9t\xc3\xa9",
        "\xff\xfe\x80 raw",
        "",
        "=\"[x]\"=",
    };
    for (const std::string& value : values) {
        const auto text = withValue("REGEDIT4\r\n", uiHost, value);
        ASSERT_TRUE(text) << value;
        EXPECT_EQ(lookup(*text, uiHost).value_or("<absent>"), value);
    }
}

TEST(RegFile, namesMatchWithoutRegardToCaseAndAWriteReplacesInPlace)
{
    const std::string before = "REGEDIT4\r\n\r\n"
                               "[hkey_local_machine\\software\\microsoft\\windows nt\\currentversion\\winlogon]\r\n"
                               "\"Shell\"=\"explorer.exe\"\r\n"
                               "\"uihost\"=\"old.exe\"\r\n"
                               "\"Userinit\"=\"x\"\r\n";
    EXPECT_EQ(lookup(before, uiHost).value_or("?"), "old.exe");
    const auto after = withValue(before, uiHost, "new.exe");
    ASSERT_TRUE(after);
    EXPECT_EQ(*after,
        "REGEDIT4\r\n\r\n"
        "[hkey_local_machine\\software\\microsoft\\windows nt\\currentversion\\winlogon]\r\n"
        "\"Shell\"=\"explorer.exe\"\r\n"
        "\"UIHost\"=\"new.exe\"\r\n"
        "\"Userinit\"=\"x\"\r\n");
    EXPECT_FALSE(withValue(*after, uiHost, "new.exe")) << "writing the stored value again changes nothing";
}

TEST(RegFile, newValueJoinsItsKeyAndLeavesOtherKeysAlone)
{
    const std::string before = "REGEDIT4\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]\r\n"
                               "\"Shell\"=\"explorer.exe\"\r\n"
                               "\r\n"
                               "[HKEY_CURRENT_USER\\Other]\r\n"
                               "\"A\"=\"1\"\r\n";
    const auto after = withValue(before, uiHost, "a.exe");
    ASSERT_TRUE(after);
    EXPECT_EQ(*after,
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]\r\n"
        "\"Shell\"=\"explorer.exe\"\r\n"
        "\"UIHost\"=\"a.exe\"\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Other]\r\n"
        "\"A\"=\"1\"\r\n");
    EXPECT_EQ(lookup(*after, {"HKEY_CURRENT_USER\\Other", "a"}).value_or("?"), "1");
}

TEST(RegFile, deleteRemovesOnlyThatValueAndMissingIsNoChange)
{
    const std::string before = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"A\"=\"1\"\r\n\"B\"=\"2\"\r\n";
    const auto after = withoutValue(before, {"HKEY_LOCAL_MACHINE\\K", "a"});
    ASSERT_TRUE(after);
    EXPECT_EQ(*after, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"B\"=\"2\"\r\n");
    EXPECT_FALSE(withoutValue(*after, {"HKEY_LOCAL_MACHINE\\K", "A"}));
    EXPECT_FALSE(withoutValue("", {"HKEY_LOCAL_MACHINE\\K", "A"}));
}

TEST(RegFile, lineBreaksAndNulCannotBeStoredAndAreRefused)
{
    for (const std::string& bad : {std::string("a\r\n\"Evil\"=\"1\""), std::string("a\nb"), "a\0b"s}) {
        EXPECT_FALSE(withValue("REGEDIT4\r\n", uiHost, bad));
        EXPECT_FALSE(withValue("REGEDIT4\r\n", {uiHost.key, bad}, "x"));
        EXPECT_FALSE(withValue("REGEDIT4\r\n", {uiHost.key + bad, "UIHost"}, "x"));
    }
}

TEST(RegFile, damagedFileKeepsWhatParsesAndLosesNothingOnRewrite)
{
    const std::string junk = "\x00\x01\xff\xfe garbage \x7f\r\n"s;
    const std::string damaged = junk
        + "[HKEY_LOCAL_MACHINE\\K]\r\n"
          "\"Truncated\"=\"C:\\\\no closing quote\r\n"
          "\"Good\"=\"kept\"\r\n"
          "\"Dword\"=dword:00000001\r\n"
          "some line regedit would not know\r\n"
          "\"Last\"=\"cut off";
    const ValuePath good {"HKEY_LOCAL_MACHINE\\K", "Good"};
    EXPECT_EQ(lookup(damaged, good).value_or("?"), "kept");
    EXPECT_FALSE(lookup(damaged, {"HKEY_LOCAL_MACHINE\\K", "Truncated"}));
    EXPECT_FALSE(lookup(damaged, {"HKEY_LOCAL_MACHINE\\K", "Last"}));
    EXPECT_EQ(lookup(damaged, {"HKEY_LOCAL_MACHINE\\K", "Dword"}).value_or("<absent>"), "<absent>");

    const auto after = withValue(damaged, {"HKEY_LOCAL_MACHINE\\K", "New"}, "v");
    ASSERT_TRUE(after);
    // The missing header comes first; every old line is still there, byte for byte.
    EXPECT_EQ(after->rfind("REGEDIT4\r\n\r\n", 0), 0u);
    EXPECT_NE(after->find(junk), std::string::npos);
    EXPECT_NE(after->find("\"Truncated\"=\"C:\\\\no closing quote\r\n"), std::string::npos);
    EXPECT_NE(after->find("some line regedit would not know\r\n"), std::string::npos);
    EXPECT_EQ(lookup(*after, good).value_or("?"), "kept");
    EXPECT_EQ(lookup(*after, {"HKEY_LOCAL_MACHINE\\K", "New"}).value_or("?"), "v");
}

TEST(RegFile, lfOnlyFilesAndFilesWithoutFinalLineEndAreRead)
{
    const std::string lf = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n\"A\"=\"1\"";
    EXPECT_EQ(lookup(lf, {"HKEY_LOCAL_MACHINE\\K", "A"}).value_or("?"), "1");
    const auto after = withValue(lf, {"HKEY_LOCAL_MACHINE\\K", "B"}, "2");
    ASSERT_TRUE(after);
    EXPECT_EQ(*after, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n\"A\"=\"1\"\r\n\"B\"=\"2\"\r\n");
}

TEST(RegFile, fileEndingInALoneCarriageReturnGetsAWholeLineEndBeforeANewValue)
{
    const ValuePath where {"HKEY_LOCAL_MACHINE\\K", ""};
    for (const std::string& text : {"[HKEY_LOCAL_MACHINE\\K]\r"s, "[hkey_local_machine\\k]\r\nlat\"\r"s}) {
        const auto after = withValue(text, where, "v");
        ASSERT_TRUE(after) << text;
        EXPECT_EQ(lookup(*after, where).value_or("?"), "v") << *after;
        EXPECT_EQ(after->find("\r@"), std::string::npos) << *after;
    }
    const std::string other = "[HKEY_LOCAL_MACHINE\\Other]\r\n\"A\"=\"1\"\r\n[HKEY_LOCAL_MACHINE\\Last]\r";
    const auto after = withValue(other, where, "v");
    ASSERT_TRUE(after);
    EXPECT_EQ(*after,
        "REGEDIT4\r\n\r\n" + other.substr(0, other.size() - 1) + "\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n@=\"v\"\r\n");
}

} // namespace
} // namespace doorsel::regfile
