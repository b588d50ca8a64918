#include "folderlist.h"

#include "widetext.h"

#include <cwchar>
#include <iterator>

#include <windows.h>

namespace doorsel {
namespace {

// A name in a fixed-size field runs up to its first NUL.
std::wstring_view TrimAtNull(const wchar_t* field, size_t size)
{
    return {field, wcsnlen(field, size)};
}

} // namespace

std::vector<FolderEntry> ListFolder(
    const std::string& folder, std::optional<FolderIdentity>* identity, const std::atomic<bool>* stop)
{
    if (identity)
        *identity = IdentityOf(folder);
    std::vector<FolderEntry> entries;
    const std::optional<std::wstring> path = widetext::SystemPath(folder);
    if (!path)
        return entries;
    std::wstring pattern = *path;
    if (pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data {};
    const HANDLE search = FindFirstFileExW(
        pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (stop && stop->load(std::memory_order_relaxed))
            break;
        // A name the code page cannot hold is left out: any stand-in for it would name another
        // file, or lead out of the folder.
        const std::optional<std::string> name
            = widetext::NarrowName(TrimAtNull(data.cFileName, std::size(data.cFileName)));
        if (!name)
            continue;
        constexpr DWORD notNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        entries.push_back({*name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
            (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0, (data.dwFileAttributes & notNormal) == 0});
    } while (FindNextFileW(search, &data));
    FindClose(search);
    SortNamesLikeTheFileSystem(entries);
    return entries;
}

std::optional<FolderIdentity> IdentityOf(const std::string& folder)
{
    const std::optional<std::wstring> path = widetext::SystemPath(folder);
    if (!path)
        return std::nullopt;
    // Opening a folder needs backup semantics; the handle is only asked for its identity.
    const HANDLE h = CreateFileW(path->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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
