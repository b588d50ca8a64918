#pragma once

#include <string>

namespace doorsel {

enum class StartMode {
    Random, // pick a logon screen from the random list, then end; no window
    Minimized, // the main window, shown minimised
    Uninstall, // remove the start-up entries and restore the system's logon screen, then end
    Window, // the main window, shown normally
};

// The text the switches are compared with: what follows the program name on the command line. On
// Windows that is the process's own command line, quotes and trailing blanks kept; elsewhere the
// argument words joined by single blanks.
std::string CommandLineText(int argc, const char* const* argv);

// The argument words after the program name, joined by single blanks.
std::string JoinArguments(int argc, const char* const* argv);

// A whole Windows command line without its program name (quoted or not) and the blanks after it;
// the rest exactly as it stands.
std::string ArgumentsAfterProgramName(const std::string& commandLine);

// The switch is the whole text, matched exactly and case-sensitively: "-Random", "-random " and
// "-random -minimized" all open the window.
StartMode StartModeFor(const std::string& commandLine);

} // namespace doorsel
