#pragma once

#include <string>

namespace doorsel {

enum class StartMode {
    Random, // pick a logon screen from the random list, then end; no window
    Minimized, // the main window, shown minimised
    Uninstall, // remove the start-up entries and restore the system's logon screen, then end
    Window, // the main window, shown normally
};

// The argument words after the program name, joined by single blanks: the text the switches are
// compared with.
std::string CommandLineText(int argc, const char* const* argv);

// The switch is the whole text, matched exactly and case-sensitively: "-Random", "-random " and
// "-random -minimized" all open the window.
StartMode StartModeFor(const std::string& commandLine);

} // namespace doorsel
