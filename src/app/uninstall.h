#pragma once

namespace doorsel {

// Clean-up before the program is removed: both start-up entries go and the system's own logon
// screen is restored. Each step is tried whatever became of the others; the settings file and the
// random list stay.
void RunUninstall();

} // namespace doorsel
