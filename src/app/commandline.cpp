#include "commandline.h"

namespace doorsel {

std::string JoinArguments(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            text += ' ';
        text += argv[i];
    }
    return text;
}

std::string ArgumentsAfterProgramName(const std::string& commandLine)
{
    size_t at = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const size_t closing = commandLine.find('"', 1);
        at = closing == std::string::npos ? commandLine.size() : closing + 1;
    } else {
        while (at < commandLine.size() && commandLine[at] != ' ' && commandLine[at] != '\t')
            ++at;
    }
    while (at < commandLine.size() && (commandLine[at] == ' ' || commandLine[at] == '\t'))
        ++at;
    return commandLine.substr(at);
}

StartMode StartModeFor(const std::string& commandLine)
{
    if (commandLine == "-random")
        return StartMode::Random;
    if (commandLine == "-minimized")
        return StartMode::Minimized;
    if (commandLine == "-uninstall")
        return StartMode::Uninstall;
    return StartMode::Window;
}

} // namespace doorsel
