#include "searchfolder.h"

#include "platform/appinfo.h"
#include "platform/folderlist.h"

#include <algorithm>
#include <optional>
#include <vector>

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
    explicit Walk(const std::function<void(const FoundFile&)>& found)
        : found(found)
    {
    }

    void folder(const std::string& path, bool includeSubfolders)
    {
        const std::string folderPath = AddBackslash(path);
        // A link back to the folder itself or to one above it would make the walk loop for ever;
        // any other link is walked like the folder it leads to, as `find -L` does.
        std::optional<FolderIdentity> identity;
        const std::vector<FolderEntry> entries = ListFolder(folderPath, &identity);
        if (identity && std::find(ancestors.begin(), ancestors.end(), *identity) != ancestors.end())
            return;

        const std::string folderName = FolderNameOf(folderPath);
        for (const FolderEntry& entry : entries) {
            if (qualifies(entry))
                found({entry.name, folderName, folderPath + entry.name});
        }

        if (!includeSubfolders)
            return;
        if (identity)
            ancestors.push_back(*identity);
        for (const FolderEntry& entry : entries) {
            if (entry.isDirectory)
                folder(folderPath + entry.name, true);
        }
        if (identity)
            ancestors.pop_back();
    }

private:
    const std::function<void(const FoundFile&)>& found;
    std::vector<FolderIdentity> ancestors;
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

void SearchFolder(const std::string& path, bool includeSubfolders, const std::function<void(const FoundFile&)>& found)
{
    Walk(found).folder(path, includeSubfolders);
}

} // namespace doorsel
