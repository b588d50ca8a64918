#pragma once

#include <string>

namespace doorsel {

// Loads the window module from the program folder and runs the window mode through its entry.
// Without a module that loads, it reports what is missing (WindowModuleFailure) and returns a
// non-zero exit code, having written nothing.
int RunWindowModule(char* programName, bool minimized);

enum class WindowModuleProblem {
    NoProgramFolder, // the program's own folder has no name the program can use (outside the code page)
    Missing, // no file of that name in the program folder
    NotLoaded, // the file is there, but it (or a library it needs) cannot be loaded
    NoEntry, // it loaded, but does not offer the entry
};

// The one line that says why the windows cannot open; `detail` is the system's own reason, if any.
std::string WindowModuleFailure(const std::string& modulePath, WindowModuleProblem problem, const std::string& detail);

} // namespace doorsel
