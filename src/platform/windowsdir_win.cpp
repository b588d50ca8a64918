#include "windowsdir.h"

#include <windows.h>

namespace doorsel {

std::string GetWindowsDir()
{
    std::string buffer(MAX_PATH, '\0');
    const UINT n = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    // A count at or above the buffer size is the size the path would need, not a path.
    if (n == 0 || n >= buffer.size())
        return std::string();
    return buffer.substr(0, n);
}

} // namespace doorsel
