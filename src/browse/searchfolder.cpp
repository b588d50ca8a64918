#include "searchfolder.h"

#include "platform/appinfo.h"

#include <algorithm>
#include <optional>
#include <set>
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
    Walk(const std::function<void(const FoundFile&)>& found, WalkControl& control)
        : found(found)
        , control(control)
    {
    }

    void folder(const std::string& path, bool includeSubfolders, bool throughLink = false)
    {
        const std::string folderPath = AddBackslash(path);
        if (stopped())
            return;
        // Asked before reading: a web of links may hold many links to one folder.
        if (throughLink) {
            const std::optional<FolderIdentity> target = IdentityOf(folderPath);
            if (!target || linkedTo.contains(*target) || isAncestor(*target))
                return;
        }
        if (control.reading)
            control.reading(folderPath);
        // A link back to the folder itself or to one above it would make the walk loop for ever;
        // any other link is walked like the folder it leads to, as `find -L` does.
        std::optional<FolderIdentity> identity;
        const std::vector<FolderEntry> entries = control.list(folderPath, &identity, &control.stop);
        if (identity && isAncestor(*identity))
            return;
        // Folders that link to each other without a loop would be walked once for every path
        // through the links, which grows exponentially with their depth (and /proc and /sys hold
        // such webs): a link leads on only to a folder that no link has led to before.
        if (throughLink && (!identity || !linkedTo.insert(*identity).second))
            return;

        // One record for every file of the walk: its strings keep their room from file to file.
        file.folderName = FolderNameIn(folderPath);
        for (const FolderEntry& entry : entries) {
            if (stopped())
                return;
            if (qualifies(entry)) {
                file.fileName = entry.name;
                file.fullPath.assign(folderPath).append(entry.name);
                found(file);
            }
        }

        if (!includeSubfolders)
            return;
        if (identity)
            ancestors.push_back(*identity);
        for (const FolderEntry& entry : entries) {
            if (entry.isDirectory)
                folder(folderPath + entry.name, true, entry.isLink);
        }
        if (identity)
            ancestors.pop_back();
    }

private:
    bool stopped() const { return control.stop.load(std::memory_order_relaxed); }
    bool isAncestor(const FolderIdentity& identity) const
    {
        return std::find(ancestors.begin(), ancestors.end(), identity) != ancestors.end();
    }

    const std::function<void(const FoundFile&)>& found;
    WalkControl& control;
    std::vector<FolderIdentity> ancestors;
    std::set<FolderIdentity> linkedTo;
    FoundFile file;
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
    return std::string(FolderNameIn(folderPath));
}

std::string_view FolderNameIn(std::string_view folderPath)
{
    // The text between the last separator and the one before it.
    if (folderPath.size() < 2 || folderPath.back() != PathSeparator)
        return {};
    const size_t before = folderPath.rfind(PathSeparator, folderPath.size() - 2);
    if (before == std::string_view::npos)
        return {};
    return folderPath.substr(before + 1, folderPath.size() - before - 2);
}

void SearchFolder(const std::string& path, bool includeSubfolders, const std::function<void(const FoundFile&)>& found,
    WalkControl* control)
{
    WalkControl alone;
    Walk(found, control ? *control : alone).folder(path, includeSubfolders);
}

} // namespace doorsel
