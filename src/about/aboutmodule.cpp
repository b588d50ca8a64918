// The entry the main window calls, the only symbol the About module exports.
#include "platform/aboutmodule.h"
#include "about/frmAbout.h"
#include "platform/appinfo.h"

#include <type_traits>

#ifdef _WIN32
#define DOORSEL_MODULE_ENTRY extern "C" __declspec(dllexport)
#else
#define DOORSEL_MODULE_ENTRY extern "C" __attribute__((visibility("default")))
#endif

DOORSEL_MODULE_ENTRY void doorsel_show_about(doorsel::Shell* shell, QWidget* owner)
{
    static_assert(std::is_same_v<decltype(&doorsel_show_about), doorsel::AboutModuleEntry>);
    // The module holds a copy of the platform layer of its own: it names the settings file itself.
    doorsel::ConfigPath = doorsel::DefaultConfigPath();
    doorsel::ShowAbout(*shell, owner);
}
