#include "folderlist.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace doorsel {

namespace {

FolderIdentity identityOf(const struct stat& st)
{
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

} // namespace

std::vector<FolderEntry> ListFolder(
    const std::string& folder, std::optional<FolderIdentity>* identity, const std::atomic<bool>* stop)
{
    std::vector<FolderEntry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return entries;
    const int fd = ::dirfd(dir);
    if (identity) {
        struct stat st { };
        *identity = ::fstat(fd, &st) == 0 ? std::optional(identityOf(st)) : std::nullopt;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (stop && stop->load(std::memory_order_relaxed))
            break;
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool isDirectory = entry->d_type == DT_DIR;
        bool isFile = entry->d_type == DT_REG;
        bool isLink = entry->d_type == DT_LNK;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st { };
            isLink = ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
        }
        if (isLink || entry->d_type == DT_UNKNOWN) {
            // Links are followed; one that leads nowhere is neither.
            struct stat st { };
            const bool resolved = ::fstatat(fd, entry->d_name, &st, 0) == 0;
            isDirectory = resolved && S_ISDIR(st.st_mode);
            isFile = resolved && S_ISREG(st.st_mode);
        }
        // A name starting with a dot is hidden by convention.
        entries.push_back({name, isDirectory, isLink, isFile && name.front() != '.'});
    }
    ::closedir(dir);
    // A stopped listing is thrown away; sorting a large one would only hold the stop up.
    if (!stop || !stop->load(std::memory_order_relaxed))
        SortNamesLikeTheFileSystem(entries);
    return entries;
}

std::optional<FolderIdentity> IdentityOf(const std::string& folder)
{
    struct stat st { };
    if (::stat(folder.c_str(), &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

} // namespace doorsel
