#include "folderlist.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace doorsel {

std::vector<FolderEntry> ListFolder(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return entries;
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st { };
            isDirectory = ::fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({name, isDirectory});
    }
    ::closedir(dir);
    SortNamesLikeTheFileSystem(entries);
    return entries;
}

std::optional<FolderIdentity> IdentityOf(const std::string& folder)
{
    struct stat st { };
    if (::stat(folder.c_str(), &st) != 0)
        return std::nullopt;
    return FolderIdentity {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

} // namespace doorsel
