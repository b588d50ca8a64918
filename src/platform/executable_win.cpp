#include "appinfo.h"

#include "widetext.h"

#include <windows.h>

namespace doorsel {

std::string ExecutablePath()
{
    // The path may be long, though never longer than the system allows any path to be.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::string();
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        if (buffer.size() > 32768)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    // A path the code page cannot hold is no path at all: any stand-in names another folder.
    return widetext::Narrow(buffer).value_or(std::string());
}

} // namespace doorsel
