#include "mainwindow/options.h"
#include "platform/appinfo.h"
#include "platform/windowsdir.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel::options {
namespace {

TEST(Options, countBoxShowsTheStoredCountOrOne)
{
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"", "1"},
        {"0", "1"},
        {"1", "1"},
        {"12", "12"},
        {"99", "99"},
        {"07", "07"},
        {"00", "00"}, // not the text "0"; Save reads it as no count
        {"123", "1"},
        {"-1", "1"},
        {"abc", "1"},
        {" 5", "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RotateEveryShown(c.stored), c.shown) << '"' << c.stored << '"';
}

TEST(Options, saveKeepsATypedCountAndStartsTheCountdownOneBelowIt)
{
    const struct {
        const char* typed;
        const char* rotateEvery;
        const char* nextRotation;
    } cases[] = {
        {"3", "3", "2"},
        {"1", "1", "0"},
        {"07", "07", "6"},
        {"99", "99", "98"},
        {"", "1", "0"},
        {"0", "1", "0"},
        {"00", "1", "0"},
        // Never typed into the two-digit box, but never stored as a count that cannot run out.
        {"-4", "1", "0"},
        {"abc", "1", "0"},
        {"32767", "32767", "32766"},
        {"32768", "1", "0"},
        {"99999999999999999999999", "1", "0"},
    };
    for (const auto& c : cases) {
        const RotationCounts counts = CountsToSave(c.typed);
        EXPECT_EQ(counts.rotateEvery, c.rotateEvery) << '"' << c.typed << '"';
        EXPECT_EQ(counts.nextRotation, c.nextRotation) << '"' << c.typed << '"';
    }
}

TEST(Options, randomSelectionDecidesBrowseCaption)
{
    EXPECT_STREQ(BrowseCaption(true), "Browse Your LogonUI Files and Edit Your Random LogonUI List...");
    EXPECT_STREQ(BrowseCaption(false), "Browse Your LogonUI Files...");
}

TEST(Options, defaultFolderIsTheWindowsFoldersResourcesWithTrailingSeparator)
{
    test::TestFolder folder;
    const std::string expected = GetWindowsDir() + PathSeparator + "Resources" + PathSeparator;
    EXPECT_EQ(DefaultLogonScreensFolder(), expected);
#ifndef _WIN32
    EXPECT_EQ(DefaultLogonScreensFolder(), folder.path() + "/Resources/");
#endif
}

TEST(Options, runCommandsStartThisProgramByItsQuotedPath)
{
    test::TestFolder folder;
    const std::string exe = ExecutablePath();
    const std::string name = exe.substr(exe.find_last_of(PathSeparator) + 1);
    const std::string quoted = '"' + folder.path() + PathSeparator + name + '"';
    EXPECT_EQ(QuotedExecutablePath(), quoted);
    EXPECT_EQ(RandomRunCommand(), quoted + " -random");
    EXPECT_EQ(StartupRunCommand(), quoted + " -minimized");
#ifdef _WIN32
    EXPECT_EQ(name, "doorsel_core_tests.exe");
#else
    EXPECT_EQ(name, "doorsel_core_tests");
#endif
}

} // namespace
} // namespace doorsel::options
