#include "app/commandline.h"
#include "app/randomrun.h"
#include "app/uninstall.h"
#include "app/windowmode.h"
#include "platform/appinfo.h"
#include "platform/moduleloader.h"

#include <cstdio>
#include <string>

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
        // Silent even when it fails: it runs at logon, where nobody would read it.
        return RunRandom() ? 0 : 1;
    case StartMode::Uninstall: {
        // The package's removal goes on only when the system was put back.
        const std::string notDone = RunUninstall();
        if (notDone.empty())
            return 0;
        std::fprintf(stderr, "%s: %s.\n", ProductName, notDone.c_str());
        return 1;
    }
    case StartMode::Minimized:
        return RunWindowMode(programName, true);
    case StartMode::Window:
        break;
    }
    return RunWindowMode(programName, false);
}
