// What the main window does on Windows as Windows sees it: its frame and window menu through the
// windows platform on a display, and the start-up entries through the registry functions.
#include "about/frmAbout.h"
#include "browse/frmBrowse.h"
#include "gui/loadedbrowse.h"
#include "gui/mainwindow_fixture.h"
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "widgets/qtshell.h"

#include <QImage>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
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

// A click of the system's mouse, as the hardware gives it, in the middle of a control.
void ClickWithTheMouse(const QWidget& control)
{
    // In the system's pixels: Qt's own are larger by the scale factor.
    const QPoint at = control.mapToGlobal(control.rect().center()) * control.devicePixelRatioF();
    INPUT input[3] {};
    for (INPUT& step : input) {
        step.type = INPUT_MOUSE;
        step.mi.dx = at.x() * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        step.mi.dy = at.y() * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        step.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

// A click lands on the control under the pointer and does what it says at once: the main window's
// About opens the About window, and the browse window's Close closes it without opening its preview.
TEST_F(OnWindows, aMouseClickDoesWhatTheControlUnderItSays)
{
    open().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), 20000));
    QString opened;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = dialog->objectName();
            dialog->close();
        }
    });
    watch.start(20);
    ClickWithTheMouse(*button("btnAbout"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 5000));
    EXPECT_EQ(opened, "frmAbout");
    watch.stop();

    const std::string logons = folder.file("Logons");
    ASSERT_TRUE(makeFolders(logons + "\\Bliss"));
    spit(logons + "\\Bliss\\logonui.exe", "MZ");
    settings::Write(settings::LogonScreensFolder, logons);
    frmBrowse browse(shell, *window, window.get());
    ASSERT_TRUE(Loaded(browse));
    browse.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browse, 20000));
    ClickWithTheMouse(*controlOf<QPushButton>(browse, "btnClose"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !browse.isVisible(); }, 5000));
    EXPECT_TRUE(shell.opened.empty());
    window->close();
}

// One default value of the classes the shell reads, set for the length of a test and then put back as
// it was. Windows reads the user's classes first; Wine reads only the machine's, and there the prefix
// is the tests' own.
class ClassValue {
public:
    ClassValue(const std::wstring& key, const std::wstring& value)
        : root(UnderWine() ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER)
        , key((UnderWine() ? L"" : L"Software\\Classes\\") + key)
    {
        wchar_t old[1024] {};
        DWORD size = sizeof old;
        if (RegGetValueW(root, this->key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS)
            previous = old;
        set(value);
    }
    ~ClassValue()
    {
        if (previous)
            set(*previous);
        else
            RegDeleteTreeW(root, key.c_str());
    }
    ClassValue(const ClassValue&) = delete;
    ClassValue& operator=(const ClassValue&) = delete;

private:
    static bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

    void set(const std::wstring& value) const
    {
        RegSetKeyValueW(root, key.c_str(), nullptr, REG_SZ, value.c_str(),
            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    HKEY root;
    std::wstring key;
    std::optional<std::wstring> previous;
};

// A double-click on the preview opens the picture, and a click on the About window's web page opens
// it, each through the system's shell with the program the system has for it: here one that records
// what it was given.
TEST_F(OnWindows, thePictureAndTheWebPageOpenWithTheSystemsProgramForThem)
{
    const std::string logons = folder.file("Logons") + "\\\xCE\xBB \xE8\xA1\xA8"; // Logons\λ 表
    ASSERT_TRUE(makeFolders(logons));
    spit(logons + "\\logonui.exe", "MZ");
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(QString::fromStdString(logons + "\\preview.bmp")));
    WriteRegValue(UIHostPath, logons + "\\logonui.exe");
    const std::string record = folder.file("opened.txt");
    // The recorder lies beside this test program.
    wchar_t self[MAX_PATH] {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring recorder = L"\""
        + std::filesystem::path(self).replace_filename(L"doorsel_record_arguments.exe").wstring() + L"\" \""
        + pathOf(record).wstring() + L"\" \"%1\"";
    const ClassValue pictures(L".bmp", L"doorsel.test.picture");
    const ClassValue openPicture(L"doorsel.test.picture\\shell\\open\\command", recorder);
    const ClassValue openPage(L"http\\shell\\open\\command", recorder);

    QtShell system;
    frmMain main(system, ShowAbout);
    main.show();
    QTest::mouseDClick(controlOf<QWidget>(main, "picThumb"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !slurp(record).empty(); }, 20000));
    frmAbout about(system, &main);
    about.show();
    QTest::mouseClick(controlOf<QWidget>(about, "Label11"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return slurp(record).find("http") != std::string::npos; }, 20000));
    EXPECT_EQ(slurp(record), logons + "\\preview.bmp\nhttp://doorsel.example/doorsel/\n");
    about.close();
    main.close();
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

// A user at the system's own open dialog: types a name into its name box and presses its default
// button, as often as the dialog stays open (a folder's name first opens that folder), or gives up
// after a few seconds with Escape.
class DialogUser {
public:
    explicit DialogUser(std::wstring typed)
        : typed(std::move(typed))
        , hand([this] { work(); })
    {
    }
    ~DialogUser()
    {
        done = true;
        hand.join();
    }
    DialogUser(const DialogUser&) = delete;
    DialogUser& operator=(const DialogUser&) = delete;

private:
    static HWND openDialog()
    {
        HWND found = nullptr;
        EnumWindows(
            [](HWND window, LPARAM into) -> BOOL {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                wchar_t kind[16] {};
                GetClassNameW(window, kind, 16);
                if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::wstring(kind) != L"#32770")
                    return TRUE;
                *reinterpret_cast<HWND*>(into) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // The name box: the dialog's one edit box that is visible and enabled.
    static HWND nameBox(HWND dialog)
    {
        HWND found = nullptr;
        EnumChildWindows(
            dialog,
            [](HWND child, LPARAM into) -> BOOL {
                wchar_t kind[16] {};
                GetClassNameW(child, kind, 16);
                if (std::wstring(kind) != L"Edit" || !IsWindowVisible(child) || !IsWindowEnabled(child))
                    return TRUE;
                *reinterpret_cast<HWND*>(into) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    void work()
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        int presses = 0;
        while (!done && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            HWND dialog = openDialog();
            if (!dialog)
                continue;
            if (presses++ == 3)
                break;
            if (HWND box = nameBox(dialog))
                SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(presses == 1 ? typed.c_str() : L""));
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        while (HWND dialog = openDialog()) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    }

    std::wstring typed;
    std::atomic<bool> done {false};
    std::thread hand;
};

// The folder picker and the file dialog are the system's own, and what they return is the path the
// user chose, in the system's spelling, even with characters outside every legacy code page.
TEST_F(OnWindows, theSystemsDialogsReturnTheChosenPathWhateverItsCharacters)
{
    const std::string chosen = folder.file("Logons") + "\\\xCE\xBB \xE8\xA1\xA8"; // Logons\λ 表
    ASSERT_TRUE(makeFolders(chosen));
    spit(chosen + "\\logonui.exe", "MZ");
    const std::wstring wide = pathOf(chosen).wstring();
    open().show();
    QtShell system;
    {
        DialogUser user(wide);
        EXPECT_EQ(system.BrowseForFolder(window.get(), "Select the folder"), chosen);
    }
    {
        DialogUser user(wide + L"\\logonui.exe");
        EXPECT_EQ(
            system.OpenFileDialog(window.get(), folder.path(), "LogonUI file (*.exe)|*.exe"), chosen + "\\logonui.exe");
    }
    window->close();
}

} // namespace
} // namespace doorsel::test
