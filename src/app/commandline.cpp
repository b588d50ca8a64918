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
