// The entry the main window calls, the only symbol the About module exports.
#include "about/frmAbout.h"
#include "platform/appinfo.h"
#include "platform/moduleexport.h"
#include "widgets/aboutmodule.h"

#include <type_traits>

DOORSEL_MODULE_ENTRY void doorsel_show_about(doorsel::Shell* shell, QWidget* owner)
{
    static_assert(std::is_same_v<decltype(&doorsel_show_about), doorsel::AboutModuleEntry>);
    // The module holds a copy of the platform layer of its own: it names the settings file itself.
    doorsel::ConfigPath = doorsel::DefaultConfigPath();
    doorsel::ShowAbout(*shell, owner);
}
