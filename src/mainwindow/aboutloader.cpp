#include "aboutloader.h"

#include "platform/moduleloader.h"
#include "widgets/aboutmodule.h"

namespace doorsel {

void ShowAboutFromModule(Shell& shell, QWidget* owner)
{
    // Kept for the rest of the process once found, like the window module itself.
    static AboutModuleEntry entry = nullptr;
    if (entry == nullptr) {
        const LoadedEntry loaded = LoadModuleEntry(AboutModuleName, AboutModuleEntryName);
        if (loaded.entry == nullptr) {
            ReportProblem(ModuleFailure("the About window", loaded));
            return;
        }
        entry = loaded.as<AboutModuleEntry>();
    }
    entry(&shell, owner);
}

} // namespace doorsel
