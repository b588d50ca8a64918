#include "appinfo.h"

namespace doorsel {

std::string ConfigPath;

namespace {
std::string& programFolderOverride()
{
    static std::string folder;
    return folder;
}
} // namespace

std::string ProgramFolder()
{
    if (!programFolderOverride().empty())
        return programFolderOverride();
    const std::string exe = ExecutablePath();
    const size_t cut = exe.find_last_of(PathSeparator);
    return cut == std::string::npos ? std::string(".") : exe.substr(0, cut);
}

void SetProgramFolder(const std::string& folder)
{
    programFolderOverride() = folder;
}

std::string DefaultConfigPath()
{
    return ProgramFolder() + PathSeparator + "config.ini";
}

} // namespace doorsel
