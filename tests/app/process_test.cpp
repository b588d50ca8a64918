// The executable as a whole, started the way the system starts it: the one-shot modes must work
// without a display, print nothing and end with exit code 0.
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/windowmodule.h"
#include "support/spawn.h"
#include "support/testfolder.h"
#include "widgets/aboutmodule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

// Sets a variable of the environment for one scope, putting back what was there even when an
// assertion ends the test early.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnvironment()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Runs a copy of doorsel placed in the test's own program folder, with no display to talk to.
class Doorsel : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy_file(test::siblingExecutable("doorsel"), folder.file("doorsel"));
        // A window started here is the only one of its user there: windows of other tests, run
        // beside it, are not the one it would hand over to.
        fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }

    test::RunResult run(const std::string& arguments)
    {
        const std::string out = folder.file("output.txt");
        test::RunResult result = test::runProgram(folder.file("doorsel"), arguments, folder.path(), out);
        fs::remove(out);
        return result;
    }

    // What the program folder holds: the program and its own stores, nothing left beside them.
    std::set<std::string> files() const { return test::entries(folder.path()); }

    // The windows' module beside the copy, as in the build's program folder.
    void placeWindowModule()
    {
        if (!fs::exists(folder.file(WindowModuleName), ignored))
            fs::create_symlink(fs::path(test::siblingExecutable("doorsel")).parent_path() / WindowModuleName,
                folder.file(WindowModuleName));
    }

    // Starts the program with an off-screen display and tells whether it opened its window: the
    // window's start-up stores its defaults and the process goes on running, while a one-shot mode
    // (or a crash) ends. `whileOpen` is given the process's id before the window is closed.
    bool opensTheWindow(const std::string& arguments, std::string* output = nullptr,
        const std::function<void(long long)>& whileOpen = {})
    {
        placeWindowModule();
        const std::string out = folder.file("output.txt");
        test::Process program("/bin/sh",
            {"-c",
                "exec env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen '" + folder.file("doorsel") + "' "
                    + arguments + " >'" + out + "' 2>&1"});
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (program.running() && ReadIniValue("Options", "MinimizeToTray", ConfigPath).empty()
            && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const bool opened = program.running() && !ReadIniValue("Options", "MinimizeToTray", ConfigPath).empty();
        if (opened && whileOpen)
            whileOpen(program.id());
        program.kill();
        if (output)
            *output = test::slurp(out);
        fs::remove(out);
        return opened;
    }

    test::TestFolder runtime; // made first: the last one made is the program folder
    test::TestFolder folder;
    std::error_code ignored;
};

std::string OutputOf(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    std::array<char, 4096> buffer {};
    for (size_t n = 0; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        output.append(buffer.data(), n);
    ::pclose(pipe);
    return output;
}

// The program needs no GUI library to start: those are the modules', and each module offers one
// entry and nothing else. The program loads them lazily, so each binds its own imports as it loads:
// one that does not match the libraries beside it fails there, not halfway. The network libraries
// are the About window's alone, so the main window shows without loading them.
TEST(WindowModule, programLinksNoGuiLibraryAndEachModuleExportsOnlyItsEntry)
{
    const std::string program = test::siblingExecutable("doorsel");
    const std::string libraries = OutputOf("ldd '" + program + "'");
    EXPECT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    for (const char* gui : {"Qt", "xcb", "X11", "GL"})
        EXPECT_EQ(libraries.find(gui), std::string::npos) << libraries;

    struct Module {
        const char* name;
        const char* entry;
        bool network;
    };
    for (const Module& m : {Module {WindowModuleName, WindowModuleEntryName, false},
             Module {AboutModuleName, AboutModuleEntryName, true}}) {
        const std::string module = fs::path(program).parent_path() / m.name;
        // Every shared object also has the linker's own end-of-section markers.
        EXPECT_EQ(
            OutputOf("nm -D --defined-only '" + module + "' | awk '$3 !~ /^(__bss_start|_edata|_end)$/ {print $3}'"),
            std::string(m.entry) + "\n");
        const std::string dynamic = OutputOf("readelf -d '" + module + "'");
        EXPECT_NE(dynamic.find("BIND_NOW"), std::string::npos) << m.name;
        EXPECT_EQ(dynamic.find("Qt6Network") != std::string::npos, m.network) << dynamic;
    }
}

// Without a module that loads, the window mode says in one line what is missing and ends, having
// written nothing; the one-shot modes above run with no module at all.
TEST_F(Doorsel, windowModeWithoutAWorkingModuleSaysWhatIsMissingAndWritesNothing)
{
    const std::string module = folder.file(WindowModuleName);
    const std::string withoutEntry = test::siblingExecutable("libdoorsel_module_without_entry.so");
    struct Case {
        const char* what;
        std::function<void()> place;
        std::string says;
    };
    const std::vector<Case> cases = {
        {"missing", [] {}, module + " is missing\n"},
        {"not a library", [&] { test::spit(module, "not a library"); }, module + " cannot be loaded ("},
        {"a library without the entry", [&] { fs::copy_file(withoutEntry, module); },
            module + " has no entry doorsel_run_window\n"},
        {"a link to nothing", [&] { fs::create_symlink(folder.file("nothing.so"), module); }, module + " is missing\n"},
    };
    for (const Case& c : cases) {
        fs::remove(module, ignored);
        c.place();
        const std::set<std::string> before = files();
        for (const char* arguments : {"", "-minimized"}) {
            const test::RunResult result = run(arguments);
            EXPECT_EQ(result.exitCode, 1) << c.what;
            EXPECT_TRUE(result.output.starts_with("Doorsel: the windows cannot open: " + c.says))
                << c.what << ": " << result.output;
            EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1)
                << c.what << ": " << result.output;
            EXPECT_EQ(files(), before) << c.what << ": nothing written";
        }
    }
}

TEST_F(Doorsel, uninstallRemovesRunValuesResetsTheLogonScreenAndKeepsTheFiles)
{
    WriteRegValue(RunValueRandomPath(), "\"" + folder.file("doorsel") + "\" -random");
    WriteRegValue(RunValueStartupPath(), "\"" + folder.file("doorsel") + "\" -minimized");
    WriteRegValue(UIHostPath, "/logons/Bliss/logonui.exe");
    WriteRegValue("HKLM\\SOFTWARE\\Other\\Value", "untouched");
    test::spit(ConfigPath, "[Options]\r\nEnableRandom=1\r\n");
    test::spit(folder.file("random.dat"), "/logons/a.exe\r\n");

    const test::RunResult result = run("-uninstall");

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(ReadRegValue(RunValueRandomPath()), "");
    EXPECT_EQ(ReadRegValue(RunValueStartupPath()), "");
    EXPECT_EQ(ReadRegValue(UIHostPath), "logonui.exe");
    EXPECT_EQ(ReadRegValue("HKLM\\SOFTWARE\\Other\\Value"), "untouched");
    EXPECT_EQ(test::slurp(ConfigPath), "[Options]\r\nEnableRandom=1\r\n");
    EXPECT_EQ(test::slurp(folder.file("random.dat")), "/logons/a.exe\r\n");
    EXPECT_EQ(files(), (std::set<std::string> {"config.ini", "doorsel", "random.dat", "registry.reg"}));
}

TEST_F(Doorsel, uninstallWithoutRunValuesStillResetsTheLogonScreen)
{
    const test::RunResult result = run("-uninstall");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(ReadRegValue(UIHostPathShort), "logonui.exe");
    EXPECT_FALSE(test::exists(ConfigPath)) << "the one-shot modes write no window defaults";
}

// A one-shot mode whose store refuses the write fails: "-uninstall" says in one line what was not
// done, so that a package's removal does not go on believing the system was put back; "-random"
// runs at logon and says nothing.
TEST_F(Doorsel, oneShotModesThatCannotStoreFail)
{
    const auto readOnly = [](const std::string& path) { fs::permissions(path, fs::perms::owner_read); };
    struct Case {
        const char* what;
        const char* arguments;
        std::function<void()> arrange;
        std::string says;
    };
    const std::vector<Case> cases = {
        {"the registry store is read-only", "-uninstall",
            [&] {
                WriteRegValue(RunValueRandomPath(), "\"" + folder.file("doorsel") + "\" -random");
                WriteRegValue(UIHostPath, "/logons/a.exe");
                readOnly(RegistryStorePath());
            },
            "Doorsel: the start-up entries were not removed; the system's logon screen was not restored.\n"},
        {"the settings file is read-only", "-random",
            [&] {
                test::spit(ConfigPath, "[Options]\r\nRotateEvery=5\r\nNextRotation=3\r\n");
                readOnly(ConfigPath);
            },
            ""},
        {"the registry store is read-only when the count runs out", "-random",
            [&] {
                test::spit(ConfigPath, "[Options]\r\nRotateEvery=1\r\nNextRotation=0\r\n");
                test::spit(folder.file("random.dat"), "/logons/a.exe\r\n");
                WriteRegValue(UIHostPath, "logonui.exe");
                readOnly(RegistryStorePath());
            },
            ""},
    };
    for (const Case& c : cases) {
        for (const char* store : {"config.ini", "registry.reg", "random.dat"}) {
            if (fs::exists(folder.file(store)))
                fs::permissions(folder.file(store), fs::perms::owner_all);
            fs::remove(folder.file(store), ignored);
        }
        c.arrange();
        const test::RunResult result = run(c.arguments);
        EXPECT_NE(result.exitCode, 0) << c.what;
        EXPECT_EQ(result.output, c.says) << c.what;
    }
}

// The command line belongs to the program: Qt's own options are text like any other, which opens
// the window, and Qt never acts on them.
TEST_F(Doorsel, qtOptionsOpenTheWindowLikeAnyOtherText)
{
    for (const char* arguments : {"-platform nosuch", "-style nosuch", "-stylesheet nosuch.qss"}) {
        std::string output;
        EXPECT_TRUE(opensTheWindow(arguments, &output)) << arguments;
        EXPECT_EQ(output.find("nosuch"), std::string::npos) << arguments << ": " << output;
    }
}

// The program's icon is read as the picture type it is: a reader left to guess would load every
// picture plug-in there is only to ask it, and the first window would wait for them.
TEST_F(Doorsel, theWindowStartsWithoutLoadingAPicturePlugIn)
{
    std::string libraries;
    ASSERT_TRUE(opensTheWindow(
        "", nullptr, [&](long long id) { libraries = test::slurp("/proc/" + std::to_string(id) + "/maps"); }));
    EXPECT_NE(libraries.find("libQt6Widgets"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("/imageformats/"), std::string::npos) << libraries;
}

// At a logon with both start-up entries, the random run and the minimised window start together and
// share the settings file: each keeps the other's writes, however their steps interleave.
TEST_F(Doorsel, randomRunAndWindowStartingTogetherLoseNoSettingsWrite)
{
    const ScopedEnvironment offscreen("QT_QPA_PLATFORM", "offscreen");
    placeWindowModule();
    const std::string expectedFolder = folder.path() + PathSeparator + "Resources" + PathSeparator;
    for (int round = 0; round < 12; ++round) {
        test::spit(ConfigPath, "[Options]\r\nRotateEvery=5\r\nNextRotation=4\r\n");
        test::Process window(folder.file("doorsel"), {"-minimized"});
        test::Process random(folder.file("doorsel"), {"-random"});
        ASSERT_EQ(random.wait(), 0);
        // The window writes its two defaults while it prepares itself; then it can go.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (ReadIniValue("Options", "MinimizeToTray", ConfigPath).empty()
            && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        window.kill();

        EXPECT_EQ(ReadIniValue("Options", "NextRotation", ConfigPath), "3") << "round " << round;
        EXPECT_EQ(ReadIniValue("Options", "LogonScreensFolder", ConfigPath), expectedFolder) << "round " << round;
        EXPECT_EQ(ReadIniValue("Options", "MinimizeToTray", ConfigPath), "0") << "round " << round;
        EXPECT_EQ(ReadIniValue("Options", "RotateEvery", ConfigPath), "5") << "round " << round;
    }
}

// "-random" on the system's start-up path: no display, no output, no window defaults.
class DoorselRandom : public Doorsel { };

TEST_F(DoorselRandom, picksFromTheListPrintingNothingAndWritingOnlyTheCountAndTheLogonScreen)
{
    const std::string config = "[Options]\r\nRotateEvery=1\r\nNextRotation=0\r\n";
    test::spit(ConfigPath, config);
    test::spit(folder.file("random.dat"), "/logons/a.exe\r\n/logons/b b/logonui.exe\r\n");
    WriteRegValue(UIHostPath, "/logons/a.exe");

    const test::RunResult result = run("-random");

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    const std::string picked = ReadRegValue(UIHostPath);
    EXPECT_TRUE(picked == "/logons/a.exe" || picked == "/logons/b b/logonui.exe") << picked;
    EXPECT_EQ(test::slurp(ConfigPath), config);
    EXPECT_EQ(test::slurp(folder.file("random.dat")), "/logons/a.exe\r\n/logons/b b/logonui.exe\r\n");
    EXPECT_EQ(files(), (std::set<std::string> {"config.ini", "doorsel", "random.dat", "registry.reg"}));
}

TEST_F(DoorselRandom, countsDownWithoutTouchingTheLogonScreen)
{
    test::spit(ConfigPath, "[Options]\r\nRotateEvery=3\r\nNextRotation=2\r\n");
    test::spit(folder.file("random.dat"), "/logons/a.exe\r\n");
    WriteRegValue(UIHostPath, "logonui.exe");

    const test::RunResult result = run("-random");

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(ReadRegValue(UIHostPath), "logonui.exe");
    EXPECT_EQ(test::slurp(ConfigPath), "[Options]\r\nRotateEvery=3\r\nNextRotation=1\r\n");
}

TEST_F(DoorselRandom, withNothingStoredRestartsTheCountAndSetsNothing)
{
    const test::RunResult result = run("-random");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(test::slurp(ConfigPath), "[Options]\r\nNextRotation=0\r\n") << "no window defaults";
    EXPECT_EQ(ReadRegValue(UIHostPath), "");
}

// Runs started together each count one logon: the count is read and stored under one lock.
TEST_F(DoorselRandom, runsStartedTogetherEachCountOneLogon)
{
    constexpr int runs = 50;
    for (int round = 0; round < 2; ++round) {
        test::spit(ConfigPath, "[Options]\r\nRotateEvery=1000\r\nNextRotation=500\r\n");
        std::vector<std::unique_ptr<test::Process>> started;
        started.reserve(runs);
        for (int i = 0; i < runs; ++i)
            started.push_back(
                std::make_unique<test::Process>(folder.file("doorsel"), std::vector<std::string> {"-random"}));
        for (const auto& run : started)
            EXPECT_EQ(run->wait(), 0);
        EXPECT_EQ(ReadIniValue("Options", "NextRotation", ConfigPath), std::to_string(500 - runs)) << "round " << round;
    }
}

TEST_F(DoorselRandom, otherSpellingsOpenTheWindowAndLeaveTheCountAlone)
{
    for (const char* arguments : {"-Random", "'-random '", "-random -minimized"}) {
        test::spit(ConfigPath, "[Options]\r\nRotateEvery=1\r\nNextRotation=0\r\n");
        test::spit(folder.file("random.dat"), "/logons/a.exe\r\n");
        WriteRegValue(UIHostPath, "logonui.exe");

        EXPECT_TRUE(opensTheWindow(arguments)) << arguments;

        EXPECT_EQ(ReadRegValue(UIHostPath), "logonui.exe") << arguments;
        EXPECT_EQ(ReadIniValue("Options", "NextRotation", ConfigPath), "0") << arguments;
    }
}

} // namespace
} // namespace doorsel
