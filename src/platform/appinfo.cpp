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
    return cut == std::string::npos ? std::string() : exe.substr(0, cut);
}

std::string ProgramFile(const std::string& name)
{
    const std::string folder = ProgramFolder();
    return folder.empty() ? std::string() : folder + PathSeparator + name;
}

void SetProgramFolder(const std::string& folder)
{
    programFolderOverride() = folder;
}

std::string DefaultConfigPath()
{
    return ProgramFile("config.ini");
}

} // namespace doorsel
