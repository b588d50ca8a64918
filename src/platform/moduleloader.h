#pragma once

#include <string>

namespace doorsel {

// Why a module of the program folder gave no entry.
enum class ModuleProblem {
    None,
    NoProgramFolder, // the program's own folder has no name the program can use (outside the code page)
    Missing, // no file of that name in the program folder
    NotLoaded, // the file is there, but it (or a library it needs) cannot be loaded
    NoEntry, // it loaded, but does not offer the entry
};

struct LoadedEntry {
    void (*entry)() = nullptr; // the caller's own entry type, through the type that stands for any function
    ModuleProblem problem = ModuleProblem::None;
    std::string modulePath; // where it was looked for; only its name when the folder has none
    std::string entryName;
    std::string detail; // the system's own reason, if any

    template <typename Entry> Entry as() const { return reinterpret_cast<Entry>(entry); }
};

// Before the process loads any library of its own: libraries are looked for in the program folder
// and the system's folders only, never in the current folder or along PATH.
void RestrictLibrarySearch();

// Loads `moduleName` from the program folder, for the rest of the process, and finds `entryName` in
// it. The libraries it needs are looked for beside it and in the system's own folders, never in the
// current folder or along PATH.
LoadedEntry LoadModuleEntry(const char* moduleName, const char* entryName);

// The one line that says why `what` ("the windows", "the About window") cannot open.
std::string ModuleFailure(const std::string& what, const LoadedEntry& loaded);

namespace detail {

// The platform's steps. A module opened stays loaded for the rest of the process.
bool ModuleFileMissing(const std::string& path);
// The module's handle, or null with the system's reason in `reason`.
void* OpenModule(const std::string& path, std::string& reason);
void (*FindEntry(void* module, const char* entryName))();

} // namespace detail

// Says a line to the user: on standard error where the program has one; on Windows, a program
// started from the desktop has none, and then a message box says it.
void ReportProblem(const std::string& line);

} // namespace doorsel
