// doorsel.exe as the system starts it: a whole process, against the registry and the profile
// functions of the system it runs on. Every value a test changes is put back afterwards.
#include "platform/appinfo.h"
#include "support/spawn.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <windows.h>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

constexpr const char* WinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* RunKeyName = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    const int n = MultiByteToWideChar(
        CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(n > 0 ? n : 0));
    return wide;
}

fs::path PathOf(const std::string& utf8)
{
    return fs::path(Wide(utf8));
}

std::string Utf8(const std::wstring& wide)
{
    std::string utf8(wide.size() * 3, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
        static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(static_cast<size_t>(n > 0 ? n : 0));
    return utf8;
}

// The registry read and written directly, independent of the program's own back-end, and as UTF-16,
// so that what the program stored is seen whatever this process's code page.
std::optional<std::string> Value(const char* key, const std::string& name)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &handle)
        != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring data(4096, L'\0');
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    DWORD type = 0;
    const LONG rc
        = RegQueryValueExW(handle, Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    data.resize(size / sizeof(wchar_t));
    return Utf8(data.substr(0, data.find(L'\0')));
}

void SetValue(const char* key, const std::string& name, const std::optional<std::string>& text)
{
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(
                  HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &handle, nullptr),
        ERROR_SUCCESS);
    if (text)
        RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
            static_cast<DWORD>(text->size() + 1));
    else
        RegDeleteValueA(handle, name.c_str());
    RegCloseKey(handle);
}

// Puts a value back as it was when the test began.
class SavedValue {
public:
    SavedValue(const char* key, std::string name)
        : key_(key)
        , name_(std::move(name))
        , old_(Value(key_, name_))
    {
    }
    ~SavedValue() { SetValue(key_, name_, old_); }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    const char* key_;
    std::string name_;
    std::optional<std::string> old_;
};

class DoorselExe : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy_file(ExecutablePath().substr(0, ExecutablePath().find_last_of('\\')) + "\\doorsel.exe",
            folder.file("doorsel.exe"));
    }

    // Runs the copy in the test's program folder (or the one given), its standard output and error in
    // a file outside it.
    test::RunResult run(const std::string& arguments) { return run(folder.path(), arguments); }

    test::RunResult run(const std::string& programFolder, const std::string& arguments)
    {
        return test::runProgram(programFolder + "\\doorsel.exe", arguments, programFolder, scratch.file("output.txt"));
    }

    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string iniValue(const char* key) const
    {
        char buffer[256] {};
        GetPrivateProfileStringA("Options", key, "", buffer, sizeof buffer, folder.file("config.ini").c_str());
        return buffer;
    }

    test::TestFolder scratch;
    test::TestFolder folder;
    SavedValue uiHost {WinlogonKey, "UIHost"};
    SavedValue runStartup {RunKeyName, "Doorsel"};
    SavedValue runRandom {RunKeyName, "Doorsel Random"};
    // A value of the Run key that is not the program's, under a name no other run uses.
    const std::string otherName = "Doorsel test " + std::to_string(GetCurrentProcessId());
    SavedValue other {RunKeyName, otherName};
};

TEST_F(DoorselExe, uninstallRemovesBothRunValuesAndPutsTheDefaultBack)
{
    SetValue(RunKeyName, "Doorsel", "\"" + folder.file("doorsel.exe") + "\" -minimized");
    SetValue(RunKeyName, "Doorsel Random", "\"" + folder.file("doorsel.exe") + "\" -random");
    SetValue(RunKeyName, otherName, "C:\\Other\\other.exe");
    SetValue(WinlogonKey, "UIHost", "C:\\Logons\\Bliss\\logonui.exe");

    const test::RunResult result = run("-uninstall");

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(Value(RunKeyName, "Doorsel"), std::nullopt);
    EXPECT_EQ(Value(RunKeyName, "Doorsel Random"), std::nullopt);
    EXPECT_EQ(Value(RunKeyName, otherName), "C:\\Other\\other.exe");
    EXPECT_EQ(Value(WinlogonKey, "UIHost"), "logonui.exe");
    EXPECT_EQ(files(), std::set<std::string> {"doorsel.exe"});
}

TEST_F(DoorselExe, randomPicksFromTheListAndCountsThroughTheProfileFunctions)
{
    test::spit(folder.file("config.ini"), "[Options]\r\nRotateEvery=3\r\nNextRotation=0\r\n");
    test::spit(folder.file("random.dat"), "C:\\Logons\\a.exe\r\nC:\\Logons\\b b\\logonui.exe\r\n");
    SetValue(WinlogonKey, "UIHost", "logonui.exe");

    const test::RunResult result = run("-random");

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    const std::optional<std::string> picked = Value(WinlogonKey, "UIHost");
    EXPECT_TRUE(picked == "C:\\Logons\\a.exe" || picked == "C:\\Logons\\b b\\logonui.exe") << picked.value_or("");
    EXPECT_EQ(iniValue("NextRotation"), "2");
    EXPECT_EQ(iniValue("RotateEvery"), "3");
}

// Names no single-byte code page holds: a logon screen's path picked from the list reaches UIHost as
// it is, and a program folder with such a name keeps its settings.
TEST_F(DoorselExe, namesOutsideTheCodePageSurviveTheRandomRun)
{
    const std::string picked = "C:\\Logons\\\u03bb \u8868\\\u0100pp\\\u03a9.exe"; // λ 表\Āpp\Ω.exe
    const std::string programFolder = folder.file("\u0141ukasz"); // Łukasz
    fs::create_directory(PathOf(programFolder));
    fs::copy_file(PathOf(folder.file("doorsel.exe")), PathOf(programFolder + "\\doorsel.exe"));
    test::spit(programFolder + "\\config.ini", "[Options]\r\nRotateEvery=3\r\nNextRotation=0\r\n");
    test::spit(programFolder + "\\random.dat", picked + "\r\n");
    SetValue(WinlogonKey, "UIHost", "logonui.exe");

    const test::RunResult result = run(programFolder, "-random");

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(Value(WinlogonKey, "UIHost"), picked);
    EXPECT_EQ(test::slurp(programFolder + "\\config.ini"), "[Options]\r\nRotateEvery=3\r\nNextRotation=2\r\n");
}

TEST_F(DoorselExe, windowModeWithoutItsModuleSaysSoAndWritesNothing)
{
    SetValue(WinlogonKey, "UIHost", "C:\\Logons\\a.exe");

    const test::RunResult result = run("");

    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.output, "Doorsel: the windows cannot open: " + folder.file("doorsel-gui.dll") + " is missing\r\n");
    EXPECT_EQ(files(), std::set<std::string> {"doorsel.exe"});
    EXPECT_EQ(Value(WinlogonKey, "UIHost"), "C:\\Logons\\a.exe");
}

// A library the window module needs is taken from the program folder or the system's, never from
// the current folder or PATH, where anyone may have put one of that name.
TEST_F(DoorselExe, aModulesLibraryIsNotTakenFromTheCurrentFolderOrPath)
{
    const std::string built = ExecutablePath().substr(0, ExecutablePath().find_last_of('\\'));
    fs::copy_file(PathOf(built + "\\doorsel_module_with_dependency.dll"), PathOf(folder.file("doorsel-gui.dll")));
    const std::string planted = built + "\\doorsel_fake_dependency.dll";
    fs::copy_file(PathOf(planted), PathOf(scratch.file("doorsel_fake_dependency.dll")));
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    SetEnvironmentVariableA("PATH", (scratch.path() + ";" + path).c_str());

    const test::RunResult planting
        = test::runProgram(folder.file("doorsel.exe"), "", scratch.path(), folder.file("out.txt"));
    SetEnvironmentVariableA("PATH", path.c_str());
    EXPECT_EQ(planting.exitCode, 1);
    EXPECT_TRUE(planting.output.starts_with(
        "Doorsel: the windows cannot open: " + folder.file("doorsel-gui.dll") + " cannot be loaded ("))
        << planting.output;
    EXPECT_EQ(planting.output.find("%1"), std::string::npos) << planting.output;

    // Beside the module it is found.
    fs::copy_file(PathOf(planted), PathOf(folder.file("doorsel_fake_dependency.dll")));
    EXPECT_EQ(run("").exitCode, 42);
}

} // namespace
} // namespace doorsel
