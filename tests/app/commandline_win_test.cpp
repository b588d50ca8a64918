// The start mode of a real process, started with its command line written out whole.
#include "app/commandline.h"
#include "support/spawn.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace doorsel {
namespace {

int startModeOf(const std::string& arguments)
{
    // Started with its UTF-16 command line, as the system starts a program.
    const std::string commandLine = "\"" + test::siblingExecutable("doorsel_startmode") + "\"" + arguments;
    std::wstring wide(commandLine.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, commandLine.data(),
        static_cast<int>(commandLine.size()), wide.data(), static_cast<int>(wide.size()))));
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
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
        {" -random", StartMode::Random}, {" -random ", StartMode::Window}, {" \"-random\"", StartMode::Window},
        {" -uninstall", StartMode::Uninstall}, {" \"-uninstall\"", StartMode::Window}, {"", StartMode::Window},
        {" －random", StartMode::Window}, // a fullwidth hyphen, which a code page's look-alike would make "-"
    };
    for (const auto& c : cases)
        EXPECT_EQ(startModeOf(c.arguments), static_cast<int>(c.mode)) << '"' << c.arguments << '"';
}

} // namespace
} // namespace doorsel
