// The entry the executable calls, the only symbol the window module exports.
#include "platform/appinfo.h"
#include "platform/moduleexport.h"
#include "platform/windowmodule.h"
#include "runwindow.h"

#include <type_traits>

DOORSEL_MODULE_ENTRY int doorsel_run_window(char* programName, int minimized)
{
    static_assert(std::is_same_v<decltype(&doorsel_run_window), doorsel::WindowModuleEntry>);
    // The module holds a copy of the platform layer of its own: it names the settings file itself.
    doorsel::ConfigPath = doorsel::DefaultConfigPath();
    return doorsel::RunWindow(programName, minimized != 0);
}
