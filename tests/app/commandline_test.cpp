#include "app/commandline.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

TEST(CommandLine, argumentWordsAreJoinedBySingleBlanks)
{
    const char* none[] = {"doorsel"};
    const char* two[] = {"doorsel", "-random", "-minimized"};
    const char* spaced[] = {"doorsel", "-random "};
    EXPECT_EQ(JoinArguments(1, none), "");
    EXPECT_EQ(JoinArguments(3, two), "-random -minimized");
    EXPECT_EQ(JoinArguments(2, spaced), "-random ");
}

TEST(CommandLine, windowsCommandLineLosesOnlyTheProgramName)
{
    const struct {
        const char* whole;
        const char* rest;
    } cases[] = {
        {"doorsel.exe -random", "-random"},
        {"doorsel.exe -random ", "-random "},
        {"doorsel.exe \"-random\"", "\"-random\""},
        {"\"C:\\Program Files\\Doorsel\\doorsel.exe\" -uninstall", "-uninstall"},
        {"\"C:\\Program Files\\Doorsel\\doorsel.exe\"-minimized", "-minimized"},
        {"doorsel.exe \t -random -minimized", "-random -minimized"},
        {"doorsel.exe", ""},
        {"\"doorsel.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArgumentsAfterProgramName(c.whole), c.rest) << c.whole;
}

TEST(CommandLine, onlyTheWholeExactSwitchSelectsAMode)
{
    const struct {
        const char* text;
        StartMode mode;
    } cases[] = {
        {"-random", StartMode::Random},
        {"-minimized", StartMode::Minimized},
        {"-uninstall", StartMode::Uninstall},
        {"", StartMode::Window},
        {"-Random", StartMode::Window},
        {"-random ", StartMode::Window},
        {" -random", StartMode::Window},
        {"-random -minimized", StartMode::Window},
        {"-MINIMIZED", StartMode::Window},
        {"/uninstall", StartMode::Window},
        {"random", StartMode::Window},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StartModeFor(c.text), c.mode) << '"' << c.text << '"';
}

} // namespace
} // namespace doorsel
