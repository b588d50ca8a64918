// What the main window does on Windows as Windows sees it: its frame and window menu through the
// windows platform on a display, and the start-up entries through the registry functions.
#include "gui/mainwindow_fixture.h"
#include "platform/appinfo.h"

#include <QWindow>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace doorsel::test {
namespace {

using OnWindows = MainWindowTest;

TEST_F(OnWindows, theFrameIsFixedAndItsMenuHoldsMoveMinimizeAndCloseOnly)
{
    // The frame is the native window the main window makes as it opens; a first start of Wine's
    // display driver can take longer than a test should wait for it to be drawn.
    open().show();
    const auto frame = reinterpret_cast<HWND>(window->winId());
    const LONG_PTR style = GetWindowLongPtrW(frame, GWL_STYLE);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);

    const HMENU menu = GetSystemMenu(frame, FALSE);
    ASSERT_NE(menu, nullptr);
    std::vector<UINT> items;
    std::vector<std::wstring> captions;
    for (int at = 0; at < GetMenuItemCount(menu); ++at) {
        wchar_t caption[64] {};
        GetMenuStringW(menu, static_cast<UINT>(at), caption, 64, MF_BYPOSITION);
        items.push_back(GetMenuItemID(menu, at));
        captions.emplace_back(caption);
    }
    EXPECT_EQ(items, (std::vector<UINT> {SC_MOVE, SC_MINIMIZE, 0, SC_CLOSE}));
    EXPECT_EQ(captions.at(2), L"") << "a separator before Close";
    window->close();
}

std::optional<std::wstring> RunValue(const wchar_t* name)
{
    wchar_t data[1024] {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", name,
            RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, data, &size)
        != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

TEST_F(OnWindows, theOptionsPageWritesAndRemovesBothRunValues)
{
    open().show();
    // The program as the program folder holds it.
    const std::string exe = ExecutablePath();
    const std::u8string path = (pathOf(ProgramFolder()) / pathOf(exe.substr(exe.find_last_of('\\') + 1))).u8string();
    const std::wstring program = L"\"" + pathOf(std::string(path.begin(), path.end())).wstring() + L"\"";
    for (const bool on : {true, false}) {
        showOptionsPage();
        for (const char* box : {"checkRunAtStartup", "checkRandom"}) {
            if (check(box)->isChecked() != on)
                click(check(box));
        }
        click(button("btnSaveOptions"));
        EXPECT_EQ(RunValue(L"Doorsel"), on ? std::optional(program + L" -minimized") : std::nullopt);
        EXPECT_EQ(RunValue(L"Doorsel Random"), on ? std::optional(program + L" -random") : std::nullopt);
    }
    window->close();
}

} // namespace
} // namespace doorsel::test
