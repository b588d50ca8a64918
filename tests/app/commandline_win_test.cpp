// The start mode of a real process, started with its command line written out whole.
#include "app/commandline.h"
#include "support/spawn.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace doorsel {
namespace {

int startModeOf(const std::string& arguments)
{
    std::string commandLine = "\"" + test::siblingExecutable("doorsel_startmode") + "\"" + arguments;
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

TEST(CommandLineWin, switchIsTheRawTextAfterTheProgramName)
{
    const struct {
        const char* arguments;
        StartMode mode;
    } cases[] = {
        {" -random", StartMode::Random},
        {" -random ", StartMode::Window},
        {" \"-random\"", StartMode::Window},
        {" -uninstall", StartMode::Uninstall},
        {" \"-uninstall\"", StartMode::Window},
        {"", StartMode::Window},
    };
    for (const auto& c : cases)
        EXPECT_EQ(startModeOf(c.arguments), static_cast<int>(c.mode)) << '"' << c.arguments << '"';
}

} // namespace
} // namespace doorsel
