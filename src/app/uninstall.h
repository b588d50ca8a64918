#pragma once

#include <string>

namespace doorsel {

// Clean-up before the program is removed: both start-up entries go and the system's own logon
// screen is restored. Each step is tried whatever became of the others; the settings file and the
// random list stay. Returns what was not done, in the user's words ("" when all was done).
std::string RunUninstall();

} // namespace doorsel
