#include "app/commandline.h"
#include "app/randomrun.h"
#include "app/uninstall.h"
#include "app/windowmode.h"
#include "platform/appinfo.h"
#include "platform/moduleloader.h"

int main(int argc, char* argv[])
{
    using namespace doorsel;
    RestrictLibrarySearch();
    static char fallbackName[] = "doorsel";
    char* programName = argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName;
    ConfigPath = DefaultConfigPath();

    // The one-shot modes run without any window system: they need no display, and the random run
    // sits on the system's start-up path. The windows live in a module loaded only when they open.
    switch (StartModeFor(CommandLineText(argc, argv))) {
    case StartMode::Random:
        RunRandom();
        return 0;
    case StartMode::Uninstall:
        RunUninstall();
        return 0;
    case StartMode::Minimized:
        return RunWindowMode(programName, true);
    case StartMode::Window:
        break;
    }
    return RunWindowMode(programName, false);
}
