#pragma once

#include <string>

namespace doorsel {

// The system's Windows folder without a trailing separator (for example "C:\WINDOWS"), or "" when it
// cannot be had. Elsewhere than Windows there is no such folder and the program folder stands in for
// it, so the default logon-screens folder is the program folder's "Resources".
std::string GetWindowsDir();

} // namespace doorsel
