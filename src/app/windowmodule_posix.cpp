#include "windowmodule.h"

#include "platform/appinfo.h"
#include "platform/windowmodule.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/stat.h>

namespace doorsel {

int RunWindowModule(char* programName, bool minimized)
{
    const std::string path = ProgramFile(WindowModuleName);
    const auto fail = [&path](WindowModuleProblem problem, std::string detail) {
        // Without the program's own path, only the module's name can be told.
        const std::string named = path.empty() ? std::string(WindowModuleName) : path;
        // The loader's reason starts with the path the line names already.
        if (detail.starts_with(path + ": "))
            detail.erase(0, path.size() + 2);
        std::fprintf(stderr, "%s\n", WindowModuleFailure(named, problem, detail).c_str());
        return EXIT_FAILURE;
    };
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return fail(WindowModuleProblem::Missing, {});
    // Loaded for the rest of the process: the windows run until the program ends. Lazily: the module
    // binds its own imports as it loads (it is linked so), and what it needs binds as it does for any
    // program; binding all of Qt's dependencies up front held the first window up.
    void* module = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = ::dlerror();
        return fail(WindowModuleProblem::NotLoaded, reason != nullptr ? reason : "");
    }
    const auto entry = reinterpret_cast<WindowModuleEntry>(::dlsym(module, WindowModuleEntryName));
    if (entry == nullptr)
        return fail(WindowModuleProblem::NoEntry, {});
    return entry(programName, minimized ? 1 : 0);
}

} // namespace doorsel
