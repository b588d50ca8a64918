#pragma once

namespace doorsel {

// Creates the application, shows the main window (minimised when asked) and runs until it closes.
// The application is given only the program's name: the rest of the command line is the program's.
int RunWindow(char* programName, bool minimized);

} // namespace doorsel
