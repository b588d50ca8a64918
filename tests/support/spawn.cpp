#include "support/spawn.h"

#include "platform/appinfo.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/widetext.h"

#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace doorsel::test {

std::string siblingExecutable(const std::string& name)
{
    const std::string self = ExecutablePath();
    const std::string folder = self.substr(0, self.find_last_of(PathSeparator));
#ifdef _WIN32
    return folder + PathSeparator + name + ".exe";
#else
    return folder + PathSeparator + name;
#endif
}

Process::Process(const std::string& program, const std::vector<std::string>& args)
{
#ifdef _WIN32
    // The C runtime joins the arguments with blanks; quote each so that paths with spaces survive.
    std::vector<std::string> quoted;
    quoted.push_back("\"" + program + "\"");
    for (const std::string& a : args)
        quoted.push_back("\"" + a + "\"");
    std::vector<const char*> argv;
    for (const std::string& a : quoted)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    handle_ = static_cast<long long>(_spawnv(_P_NOWAIT, program.c_str(), argv.data()));
#else
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0)
        handle_ = pid;
#endif
}

Process::~Process()
{
    if (handle_ != -1)
        wait();
}

void Process::kill()
{
    if (handle_ == -1)
        return;
#ifdef _WIN32
    TerminateProcess(reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle_)), 9);
#else
    ::kill(static_cast<pid_t>(handle_), SIGKILL);
#endif
    wait();
}

bool Process::running()
{
    if (handle_ == -1)
        return false;
#ifdef _WIN32
    if (WaitForSingleObject(reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle_)), 0) == WAIT_TIMEOUT)
        return true;
    exitCode_ = wait();
#else
    int status = 0;
    const pid_t ended = waitpid(static_cast<pid_t>(handle_), &status, WNOHANG);
    if (ended == 0)
        return true;
    exitCode_ = ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    handle_ = -1;
#endif
    return false;
}

int Process::wait()
{
    if (handle_ == -1)
        return exitCode_;
    int code = -1;
#ifdef _WIN32
    int status = 0;
    if (_cwait(&status, static_cast<intptr_t>(handle_), 0) != -1)
        code = status;
#else
    int status = 0;
    if (waitpid(static_cast<pid_t>(handle_), &status, 0) > 0 && WIFEXITED(status))
        code = WEXITSTATUS(status);
#endif
    handle_ = -1;
    return code;
}

#ifdef _WIN32
RunResult runProgram(const std::string& program, const std::string& arguments, const std::string& workingFolder,
    const std::string& outputFile)
{
    RunResult result;
    const std::wstring command = widetext::Widen("\"" + program + "\" " + arguments).value_or(L"");
    const std::wstring folder = widetext::Widen(workingFolder).value_or(L"");
    const std::wstring out = widetext::Widen(outputFile).value_or(L"");
    SECURITY_ATTRIBUTES inherit {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE file = CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << outputFile;
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION process {};
    std::wstring commandLine = command;
    if (CreateProcessW(
            nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &process)) {
        // A message box would wait for ever: the run must end by itself.
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 99);
            ADD_FAILURE() << program << " " << arguments << " did not end";
        }
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "cannot start " << program;
    }
    CloseHandle(file);
    result.output = slurp(outputFile);
    return result;
}
#else
RunResult runProgram(const std::string& program, const std::string& arguments, const std::string& workingFolder,
    const std::string& outputFile)
{
    const std::string command = "cd '" + workingFolder
        + "' && timeout 30 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + program + "' " + arguments + " >'"
        + outputFile + "' 2>&1";
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (result.exitCode == 124)
        ADD_FAILURE() << program << " " << arguments << " did not end";
    result.output = slurp(outputFile);
    return result;
}
#endif

} // namespace doorsel::test
