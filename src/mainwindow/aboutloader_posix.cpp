#include "aboutloader.h"

#include "platform/aboutmodule.h"
#include "platform/appinfo.h"

#include <cstdio>
#include <dlfcn.h>
#include <string>

namespace doorsel {

void ShowAboutFromModule(Shell& shell, QWidget* owner)
{
    // Kept for the rest of the process once found, like the window module itself.
    static AboutModuleEntry entry = nullptr;
    if (entry == nullptr) {
        const std::string path = ProgramFile(AboutModuleName);
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* reason = ::dlerror();
            std::fprintf(stderr, "%s: the About window cannot open: %s\n", ProductName,
                reason != nullptr ? reason : path.c_str());
            return;
        }
        entry = reinterpret_cast<AboutModuleEntry>(::dlsym(module, AboutModuleEntryName));
        if (entry == nullptr) {
            std::fprintf(stderr, "%s: the About window cannot open: %s has no entry %s\n", ProductName, path.c_str(),
                AboutModuleEntryName);
            return;
        }
    }
    entry(&shell, owner);
}

} // namespace doorsel
