#include "folderentries_posix.h"
#include "folderlist.h"

#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

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
    // As a directory stream opens it: never anything but a folder, and never waiting to open.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return entries;
    if (identity) {
        struct stat st { };
        *identity = ::fstat(fd, &st) == 0 ? std::optional(identityOf(st)) : std::nullopt;
    }
    // A walk lists every folder of a tree, most of them small: a piece of 16 KiB on the walk's stack
    // holds a few hundred names.
    ForEachFolderEntry<16384>(fd, [&](const dirent64& entry) {
        if (stop && stop->load(std::memory_order_relaxed))
            return false;
        const std::string_view name = entry.d_name;
        if (name == "." || name == "..")
            return true;
        bool isDirectory = entry.d_type == DT_DIR;
        bool isFile = entry.d_type == DT_REG;
        bool isLink = entry.d_type == DT_LNK;
        if (entry.d_type == DT_UNKNOWN) {
            struct stat st { };
            isLink = ::fstatat(fd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
        }
        if (isLink || entry.d_type == DT_UNKNOWN) {
            // Links are followed; one that leads nowhere is neither.
            struct stat st { };
            const bool resolved = ::fstatat(fd, entry.d_name, &st, 0) == 0;
            isDirectory = resolved && S_ISDIR(st.st_mode);
            isFile = resolved && S_ISREG(st.st_mode);
        }
        // A name starting with a dot is hidden by convention.
        entries.push_back({std::string(name), isDirectory, isLink, isFile && name.front() != '.'});
        return true;
    });
    ::close(fd);
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
