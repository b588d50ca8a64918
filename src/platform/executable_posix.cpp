#include "appinfo.h"

#include <climits>
#include <unistd.h>

namespace doorsel {

std::string ExecutablePath()
{
    // Where the program started from, read once: each store's path is made from it.
    static const std::string path = [] {
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
        // A path that fills the buffer may have been cut short: no path rather than another folder's.
        return n > 0 && static_cast<size_t>(n) < sizeof buffer ? std::string(buffer, static_cast<size_t>(n))
                                                               : std::string();
    }();
    return path;
}

} // namespace doorsel
