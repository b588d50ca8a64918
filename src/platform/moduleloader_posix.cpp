#include "moduleloader.h"

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <sys/stat.h>

namespace doorsel {
namespace detail {

bool ModuleFileMissing(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

void* OpenModule(const std::string& path, std::string& reason)
{
    // Lazily: a module binds its own imports as it loads (it is linked so), and what it needs binds
    // as it does for any program; binding all of Qt's dependencies up front held the first window up.
    void* module = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (module == nullptr) {
        const char* text = ::dlerror();
        reason = text != nullptr ? text : "";
        // The loader's reason starts with the path the line names already.
        if (reason.starts_with(path + ": "))
            reason.erase(0, path.size() + 2);
    }
    return module;
}

void (*FindEntry(void* module, const char* entryName))()
{
    return reinterpret_cast<void (*)()>(::dlsym(module, entryName));
}

} // namespace detail

// The loader searches no current folder here unless the environment says so, and the modules name
// what they need by their own run path.
void RestrictLibrarySearch()
{
}

void ReportProblem(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace doorsel
