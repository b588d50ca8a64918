#pragma once

namespace doorsel {

// Loads the window module from the program folder and runs the window mode through its entry.
// Without a module that loads, it says what is missing and returns a non-zero exit code, having
// written nothing.
int RunWindowMode(char* programName, bool minimized);

} // namespace doorsel
