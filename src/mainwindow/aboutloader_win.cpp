#include "aboutloader.h"

#include "platform/aboutmodule.h"
#include "platform/appinfo.h"
#include "platform/widetext.h"

#include <optional>
#include <string>
#include <windows.h>

namespace doorsel {

void ShowAboutFromModule(Shell& shell, QWidget* owner)
{
    // Kept for the rest of the process once found, like the window module itself. A program started
    // from the desktop has no standard error to tell why not.
    static AboutModuleEntry entry = nullptr;
    if (entry == nullptr) {
        const std::optional<std::wstring> path = widetext::SystemPath(ProgramFile(AboutModuleName));
        if (!path)
            return;
        // The libraries the module needs (Qt Network) are looked for beside it first.
        const HMODULE module = LoadLibraryExW(path->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module == nullptr)
            return;
        // Through void (*)(), the type that stands for any function, as GetProcAddress's result must be.
        entry = reinterpret_cast<AboutModuleEntry>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, AboutModuleEntryName)));
        if (entry == nullptr)
            return;
    }
    entry(&shell, owner);
}

} // namespace doorsel
