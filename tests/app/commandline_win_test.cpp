// The start mode of a real process, started with its command line written out whole.
#include "app/commandline.h"
#include "platform/widetext.h"
#include "support/spawn.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

namespace doorsel {
namespace {

int startModeOf(const std::string& arguments, const std::string& program = test::siblingExecutable("doorsel_startmode"))
{
    // Started with its UTF-16 command line, as the system starts a program.
    const std::string commandLine = "\"" + program + "\"" + arguments;
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

// Where the system ignores the program's UTF-8 manifest (a copy built without one stands in), a
// program folder whose name its code page cannot hold must not hide the switch.
TEST(CommandLineWin, aProgramFolderOutsideTheCodePageKeepsTheSwitch)
{
    test::TestFolder folder;
    const std::string inside = folder.file("\xce\xbb \xe8\xa1\xa8"); // "λ 表"
    const auto path = [](const std::string& utf8) { return std::filesystem::path(widetext::Widen(utf8).value()); };
    std::filesystem::create_directory(path(inside));
    std::filesystem::copy_file(
        path(test::siblingExecutable("doorsel_startmode_legacy")), path(inside + "\\startmode.exe"));
    EXPECT_EQ(startModeOf(" -random", inside + "\\startmode.exe"), static_cast<int>(StartMode::Random));
    EXPECT_EQ(startModeOf(" -uninstall", inside + "\\startmode.exe"), static_cast<int>(StartMode::Uninstall));
    EXPECT_EQ(startModeOf(" -random ", inside + "\\startmode.exe"), static_cast<int>(StartMode::Window));
}

} // namespace
} // namespace doorsel
