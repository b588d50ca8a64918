#include "windowmode.h"

#include "platform/moduleloader.h"
#include "platform/windowmodule.h"

#include <cstdlib>

namespace doorsel {

int RunWindowMode(char* programName, bool minimized)
{
    const LoadedEntry loaded = LoadModuleEntry(WindowModuleName, WindowModuleEntryName);
    if (loaded.entry == nullptr) {
        ReportProblem(ModuleFailure("the windows", loaded));
        return EXIT_FAILURE;
    }
    return loaded.as<WindowModuleEntry>()(programName, minimized ? 1 : 0);
}

} // namespace doorsel
