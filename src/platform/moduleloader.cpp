#include "moduleloader.h"

#include "appinfo.h"

namespace doorsel {

LoadedEntry LoadModuleEntry(const char* moduleName, const char* entryName)
{
    LoadedEntry loaded;
    loaded.entryName = entryName;
    loaded.modulePath = ProgramFile(moduleName);
    const auto fail = [&loaded](ModuleProblem problem, std::string detail) {
        loaded.problem = problem;
        loaded.detail = std::move(detail);
        return loaded;
    };
    if (loaded.modulePath.empty()) {
        // Without the program's own path, only the module's name can be told.
        loaded.modulePath = moduleName;
        return fail(ModuleProblem::NoProgramFolder, {});
    }
    if (detail::ModuleFileMissing(loaded.modulePath))
        return fail(ModuleProblem::Missing, {});
    std::string reason;
    void* module = detail::OpenModule(loaded.modulePath, reason);
    if (module == nullptr)
        return fail(ModuleProblem::NotLoaded, std::move(reason));
    loaded.entry = detail::FindEntry(module, entryName);
    if (loaded.entry == nullptr)
        return fail(ModuleProblem::NoEntry, {});
    return loaded;
}

std::string ModuleFailure(const std::string& what, const LoadedEntry& loaded)
{
    std::string line = std::string(ProductName) + ": " + what + " cannot open: ";
    const std::string& path = loaded.modulePath;
    switch (loaded.problem) {
    case ModuleProblem::None:
        break;
    case ModuleProblem::NoProgramFolder:
        line += "the program's folder has a name this system cannot pass on, so " + path + " cannot be found";
        break;
    case ModuleProblem::Missing:
        line += path + " is missing";
        break;
    case ModuleProblem::NotLoaded:
        line += path + " cannot be loaded";
        break;
    case ModuleProblem::NoEntry:
        line += path + " has no entry " + loaded.entryName;
        break;
    }
    if (!loaded.detail.empty())
        line += " (" + loaded.detail + ")";
    return line;
}

} // namespace doorsel
