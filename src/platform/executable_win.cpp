#include "appinfo.h"

#include <windows.h>

namespace doorsel {

std::string ExecutablePath()
{
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::string();
        if (n < buffer.size())
            return buffer.substr(0, n);
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace doorsel
