#include "platform/appinfo.h"
#include "platform/settings.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel::settings {
namespace {

TEST(Settings, numbersReadOnlyWhenTheWholeTextIsOne)
{
    const struct {
        const char* text;
        std::optional<long long> number;
    } cases[] = {
        {"0", 0},
        {"1", 1},
        {"07", 7},
        {"-1", -1},
        {"+3", 3},
        {" 12 ", 12},
        {"32768", 32768},
        {"", {}},
        {"   ", {}},
        {"abc", {}},
        {"1x", {}},
        {"1.5", {}},
        {"--1", {}},
        {"+", {}},
        {"1 2", {}},
        {"99999999999999999999", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberOf(c.text), c.number) << '"' << c.text << '"';
}

TEST(Settings, aFlagIsOnOnlyWhenItIsTheNumberOne)
{
    for (const char* on : {"1", " 01", "1.0", "+1", " 1 ", "1.", "01.000"})
        EXPECT_TRUE(IsOn(on)) << '"' << on << '"';
    for (const char* off : {"", "0", "2", "-1", "yes", "true", "1a", "1.5", "0.999", "1e0", "inf", ".", "-", "1-"})
        EXPECT_FALSE(IsOn(off)) << '"' << off << '"';
}

TEST(Settings, readAndWriteGoToTheOptionsSectionOfTheSettingsFile)
{
    test::TestFolder folder;
    EXPECT_EQ(Read(AlertYN), "");
    EXPECT_TRUE(Write(AlertYN, "1"));
    EXPECT_EQ(test::slurp(ConfigPath), "[Options]\r\nAlertYN=1\r\n");
    EXPECT_EQ(Read("alertyn"), "1");
}

// A program folder whose name a code page other than UTF-8 cannot hold, one just short of 260
// characters (the temporary file beside the settings goes past it), and one far past it.
TEST(Settings, aProgramFolderOfAnyNameOrLengthKeepsItsSettings)
{
    test::TestFolder folder;
    std::string nearLimit = folder.file("near");
    nearLimit += std::string(240 - nearLimit.size(), 'n');
    std::string deep = folder.file("deep");
    while (deep.size() < 300)
        deep += PathSeparator + std::string("folder");
    for (const std::string& programFolder : {folder.file("Łukasz"), nearLimit, deep}) {
        ASSERT_TRUE(test::makeFolders(programFolder));
        SetProgramFolder(programFolder);
        ConfigPath = DefaultConfigPath();
        EXPECT_TRUE(Write(AlertYN, "0") && Write(AlertYN, "1")) << programFolder;
        EXPECT_EQ(Read(AlertYN), "1") << programFolder;
        EXPECT_EQ(test::slurp(programFolder + PathSeparator + "config.ini"), "[Options]\r\nAlertYN=1\r\n");
    }
}

} // namespace
} // namespace doorsel::settings
