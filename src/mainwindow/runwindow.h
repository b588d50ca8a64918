#pragma once

namespace doorsel {

// Creates the application, shows the main window (minimised when asked) and runs until it closes.
int RunWindow(int argc, char* argv[], bool minimized);

} // namespace doorsel
