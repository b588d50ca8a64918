#pragma once

#include <string>
#include <string_view>

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
// the rest exactly as it stands. In any character type: the program's name may hold characters the
// rest of the line is never converted with.
template <typename Char> std::basic_string_view<Char> ArgumentsAfterProgramName(std::basic_string_view<Char> line)
{
    const auto blank = [](Char c) { return c == Char(' ') || c == Char('\t'); };
    size_t at = 0;
    if (!line.empty() && line.front() == Char('"')) {
        const size_t closing = line.find(Char('"'), 1);
        at = closing == line.npos ? line.size() : closing + 1;
    } else {
        while (at < line.size() && !blank(line[at]))
            ++at;
    }
    while (at < line.size() && blank(line[at]))
        ++at;
    return line.substr(at);
}

inline std::string ArgumentsAfterProgramName(const std::string& commandLine)
{
    return std::string(ArgumentsAfterProgramName(std::string_view(commandLine)));
}

// The switch is the whole text, matched exactly and case-sensitively: "-Random", "-random " and
// "-random -minimized" all open the window.
StartMode StartModeFor(const std::string& commandLine);

} // namespace doorsel
