#include "searchfolder.h"

#include "platform/appinfo.h"
#include "platform/folderlist.h"

#include <set>

namespace doorsel {
namespace {

constexpr std::string_view ExeSuffix = ".exe";

bool qualifies(const FolderEntry& entry)
{
    return !entry.isDirectory && entry.name.size() >= ExeSuffix.size()
        && entry.name.compare(entry.name.size() - ExeSuffix.size(), ExeSuffix.size(), ExeSuffix) == 0;
}

class Walk {
public:
    explicit Walk(const SearchSteps& steps)
        : steps(steps)
    {
    }

    void folder(const std::string& path, bool includeSubfolders)
    {
        const std::string folderPath = AddBackslash(path);
        // A folder already walked (reached again through a link) is not walked twice.
        if (const auto identity = IdentityOf(folderPath); identity && !visited.insert(*identity).second)
            return;
        const std::vector<FolderEntry> entries = ListFolder(folderPath);

        if (steps.filePassStarts)
            steps.filePassStarts();
        const std::string folderName = FolderNameOf(folderPath);
        for (const FolderEntry& entry : entries) {
            if (qualifies(entry) && steps.fileFound)
                steps.fileFound({entry.name, folderName, folderPath + entry.name});
        }
        if (steps.filePassEnds)
            steps.filePassEnds();

        if (!includeSubfolders)
            return;
        for (const FolderEntry& entry : entries) {
            if (entry.isDirectory)
                folder(folderPath + entry.name, true);
        }
    }

private:
    const SearchSteps& steps;
    std::set<FolderIdentity> visited;
};

} // namespace

std::string AddBackslash(const std::string& path)
{
    if (!path.empty() && path.back() == PathSeparator)
        return path;
    return path + PathSeparator;
}

std::string FolderNameOf(const std::string& folderPath)
{
    // The text between the last separator and the one before it.
    if (folderPath.size() < 2 || folderPath.back() != PathSeparator)
        return {};
    const size_t before = folderPath.rfind(PathSeparator, folderPath.size() - 2);
    if (before == std::string::npos)
        return {};
    return folderPath.substr(before + 1, folderPath.size() - before - 2);
}

void SearchFolder(const std::string& path, bool includeSubfolders, const SearchSteps& steps)
{
    Walk(steps).folder(path, includeSubfolders);
}

} // namespace doorsel
