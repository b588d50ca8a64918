#include "windowsdir.h"

#include "widetext.h"

#include <windows.h>

namespace doorsel {

std::string GetWindowsDir()
{
    std::wstring buffer(MAX_PATH, L'\0');
    const UINT n = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    // A count at or above the buffer size is the size the path would need, not a path.
    if (n == 0 || n >= buffer.size())
        return std::string();
    buffer.resize(n);
    return widetext::Narrow(buffer).value_or(std::string());
}

} // namespace doorsel
