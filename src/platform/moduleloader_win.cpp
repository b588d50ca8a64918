#include "moduleloader.h"

#include "appinfo.h"
#include "widetext.h"

#include <optional>
#include <windows.h>

namespace doorsel {
namespace {

// The system's reason for `error`. Some reasons hold the insert "%1" for the file they are about,
// which FormatMessage leaves as it is: it names the module instead.
std::string SystemReason(DWORD error, const std::string& moduleName)
{
    char* text = nullptr;
    const DWORD n
        = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = n > 0 && text != nullptr ? std::string(text, n) : "error " + std::to_string(error);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    for (size_t at = reason.find("%1"); at != std::string::npos; at = reason.find("%1", at + moduleName.size()))
        reason.replace(at, 2, moduleName);
    return reason;
}

} // namespace

namespace detail {

bool ModuleFileMissing(const std::string& path)
{
    const std::optional<std::wstring> systemPath = widetext::SystemPath(path);
    if (!systemPath)
        return true;
    if (GetFileAttributesW(systemPath->c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void* OpenModule(const std::string& path, std::string& reason)
{
    const std::optional<std::wstring> systemPath = widetext::SystemPath(path);
    // What the module needs (Qt's libraries) comes from its own folder or the system's, never from
    // the current folder or PATH, where anyone could have put a library of the same name.
    const HMODULE module = systemPath ? LoadLibraryExW(systemPath->c_str(), nullptr,
                               LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)
                                      : nullptr;
    if (module == nullptr)
        reason = SystemReason(GetLastError(), path.substr(path.find_last_of('\\') + 1));
    return reinterpret_cast<void*>(module);
}

void (*FindEntry(void* module, const char* entryName))()
{
    // Through void (*)(), the type that stands for any function, as GetProcAddress's result must be.
    return reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(module), entryName));
}

} // namespace detail

void RestrictLibrarySearch()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

void ReportProblem(const std::string& line)
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

} // namespace doorsel
