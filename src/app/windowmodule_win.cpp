#include "windowmodule.h"

#include "platform/appinfo.h"
#include "platform/widetext.h"
#include "platform/windowmodule.h"

#include <cstdlib>
#include <optional>
#include <windows.h>

namespace doorsel {
namespace {

std::string SystemReason(DWORD error)
{
    char* text = nullptr;
    const DWORD n
        = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = n > 0 && text != nullptr ? std::string(text, n) : "error " + std::to_string(error);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

// To standard error when the program has one (a console, a pipe, a file); a program started from
// the desktop has none, and then a message box says it.
void Report(const std::string& line)
{
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    const std::string text = line + "\r\n";
    DWORD written = 0;
    if (error != nullptr && error != INVALID_HANDLE_VALUE
        && WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size())
        return;
    const std::wstring message = widetext::Widen(line).value_or(L"The windows cannot open.");
    const std::wstring caption = widetext::Widen(ProductName).value_or(L"");
    MessageBoxW(nullptr, message.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

} // namespace

int RunWindowModule(char* programName, bool minimized)
{
    const std::string path = ProgramFile(WindowModuleName);
    const auto fail = [&path](WindowModuleProblem problem, const std::string& detail) {
        // Without the program's own path, only the module's name can be told.
        Report(WindowModuleFailure(path.empty() ? std::string(WindowModuleName) : path, problem, detail));
        return EXIT_FAILURE;
    };
    if (path.empty())
        return fail(WindowModuleProblem::NoProgramFolder, {});
    const std::optional<std::wstring> systemPath = widetext::SystemPath(path);
    if (!systemPath)
        return fail(WindowModuleProblem::Missing, {});
    if (GetFileAttributesW(systemPath->c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return fail(WindowModuleProblem::Missing, {});
    }
    // The libraries the module needs (Qt's) are looked for beside it first.
    const HMODULE module = LoadLibraryExW(systemPath->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr)
        return fail(WindowModuleProblem::NotLoaded, SystemReason(GetLastError()));
    // Through void (*)(), the type that stands for any function, as GetProcAddress's result must be.
    const auto entry = reinterpret_cast<WindowModuleEntry>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, WindowModuleEntryName)));
    if (entry == nullptr)
        return fail(WindowModuleProblem::NoEntry, {});
    return entry(programName, minimized ? 1 : 0);
}

} // namespace doorsel
