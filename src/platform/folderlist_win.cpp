#include "folderlist.h"

#include <windows.h>

namespace doorsel {
namespace {

// A name in a fixed-size field runs up to its first NUL.
std::string TrimAtNull(const char* field, size_t size)
{
    const std::string text(field, size);
    return text.substr(0, text.find('\0'));
}

} // namespace

std::vector<FolderEntry> ListFolder(
    const std::string& folder, std::optional<FolderIdentity>* identity, const std::atomic<bool>* stop)
{
    if (identity)
        *identity = IdentityOf(folder);
    std::vector<FolderEntry> entries;
    std::string pattern = folder;
    if (pattern.empty() || (pattern.back() != '\\' && pattern.back() != '/'))
        pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAA data {};
    const HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (stop && stop->load(std::memory_order_relaxed))
            break;
        const std::string name = TrimAtNull(data.cFileName, sizeof data.cFileName);
        if (name == "." || name == "..")
            continue;
        constexpr DWORD notNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        entries.push_back(
            {name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (data.dwFileAttributes & notNormal) == 0});
    } while (FindNextFileA(search, &data));
    FindClose(search);
    SortNamesLikeTheFileSystem(entries);
    return entries;
}

std::optional<FolderIdentity> IdentityOf(const std::string& folder)
{
    // Opening a folder needs backup semantics; the handle is only asked for its identity.
    const HANDLE h = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info {};
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok)
        return std::nullopt;
    return FolderIdentity {
        info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

} // namespace doorsel
