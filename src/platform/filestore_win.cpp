#include "filestore.h"

#include "widetext.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <utility>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace doorsel {
namespace {

class Handle {
public:
    explicit Handle(HANDLE h)
        : handle(h)
    {
    }
    ~Handle()
    {
        if (valid())
            CloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle; }
    bool valid() const { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    // Hands the handle over, still open.
    HANDLE take() { return std::exchange(handle, INVALID_HANDLE_VALUE); }
    // Closes now, reporting the error a deferred write may only show here.
    bool close()
    {
        const HANDLE h = handle;
        handle = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE handle;
};

// A mutex name for a folder of stores: the same for every spelling of its full path (Windows
// compares names without regard to case), and short whatever the path's length.
std::wstring mutexName(const std::wstring& folder)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const wchar_t c : folder) {
        const auto u = static_cast<std::uint16_t>(c);
        hash = (hash ^ ((u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : u)) * 1099511628211ULL;
    }
    std::wstring name = L"Global\\doorsel-store-";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[(hash >> shift) & 0xF];
    return name;
}

std::wstring folderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring temporaryPrefix(const std::wstring& path)
{
    return path + L".";
}

// Creates a new temporary file beside the store, exclusively: an existing name, a planted link
// included, is never opened but skipped.
HANDLE createTemporary(const std::wstring& path, std::wstring& tempPath)
{
    static std::atomic<unsigned> counter {0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = temporaryPrefix(path) + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++)
            + L"-" + std::to_wstring(GetTickCount()) + L".tmp";
        const HANDLE h = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

// Called under the folder's lock, so no other writer is using one of these names.
void removeLeftTemporaries(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    const std::wstring folder = folderOf(path);
    const HANDLE search
        = FindFirstFileExW((folder + L"*.tmp").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::optional<std::string> name = widetext::Narrow(found.cFileName);
        if (name && detail::IsTemporaryName(*name)
            && (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0)
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A rename gives the store the new file's attributes and security, which are the folder's
// defaults; so the old store's are put on the new file first. (ReplaceFileW would copy them in its
// own step, but it is no rename: it moves the old file away first, and a failure or crash between
// its steps leaves no store at all.) The owner is kept where the process may set it.
bool keepAttributesAndSecurity(const std::wstring& path, const std::wstring& temp)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    constexpr DWORD keptAttributes
        = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    PSID owner = nullptr;
    PSID group = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
            OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, &group, &dacl,
            nullptr, &descriptor)
        != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    // Inherited entries come from the folder, which is the same for both files.
    const SECURITY_INFORMATION rules = DACL_SECURITY_INFORMATION
        | ((control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                              : UNPROTECTED_DACL_SECURITY_INFORMATION);
    std::wstring name = temp;
    const bool kept = SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                          rules | OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION, owner, group, dacl, nullptr)
            == ERROR_SUCCESS
        || SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, rules, nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
    LocalFree(descriptor);
    const DWORD wanted = attributes & keptAttributes;
    return kept && SetFileAttributesW(temp.c_str(), wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL) != 0;
}

// Whether only administrators and the system may take a mutex that already existed: one that
// someone else made first, with rules of their own, is no lock of the writers'.
bool takenOnlyByAdministrators(HANDLE mutex)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(
            mutex, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &descriptor)
        != ERROR_SUCCESS)
        return false;
    bool only = dacl != nullptr;
    for (DWORD i = 0; only && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        only = GetAce(dacl, i, &ace) != 0;
        if (only && static_cast<const ACE_HEADER*>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE) {
            const PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
            only = IsWellKnownSid(sid, WinBuiltinAdministratorsSid) || IsWellKnownSid(sid, WinLocalSystemSid);
        }
    }
    LocalFree(descriptor);
    return only;
}

bool writeAll(HANDLE h, const std::string& content)
{
    const char* p = content.data();
    size_t left = content.size();
    while (left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(h, p, chunk, &written, nullptr) || written == 0)
            return false;
        p += written;
        left -= written;
    }
    return true;
}

} // namespace

// Windows programs do not meet links in a program folder: links only matter elsewhere.
StoreReader::StoreReader(const std::string& path, bool /*followLink*/)
{
    // A path that names no file exactly is not read as a missing file: a write would replace it.
    const std::optional<std::wstring> name = detail::IsStorePath(path) ? widetext::SystemPath(path) : std::nullopt;
    if (!name)
        return;
    Handle h(CreateFileW(name->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) {
        const DWORD error = GetLastError();
        missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return;
    }
    if (GetFileType(h.get()) != FILE_TYPE_DISK)
        return;
    LARGE_INTEGER fileSize {};
    if (GetFileSizeEx(h.get(), &fileSize) && fileSize.QuadPart > 0)
        size = static_cast<std::uint64_t>(fileSize.QuadPart);
    handle = reinterpret_cast<std::intptr_t>(h.take());
}

StoreReader::~StoreReader()
{
    if (handle != None)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
}

std::int64_t StoreReader::ReadAt(std::uint64_t offset, char* buffer, size_t count) const
{
    OVERLAPPED at {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD n = 0;
    if (!ReadFile(
            reinterpret_cast<HANDLE>(handle), buffer, static_cast<DWORD>(std::min<size_t>(count, 1U << 30)), &n, &at))
        return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return n;
}

namespace detail {

bool IsStorePath(const std::string& path)
{
    const bool drive
        = path.size() > 2 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' && path[2] == '\\';
    return drive || path.starts_with("\\\\");
}

// A named mutex for the store's folder, so no lock file is left beside the stores; it is freed
// with the last handle. Only administrators and the system may take it: anyone else could
// otherwise hold it and so stop every write.
StoreLock LockStore(const std::string& path, Links /*links*/, std::chrono::milliseconds wait)
{
    const std::optional<std::wstring> name = IsStorePath(path) ? widetext::SystemPath(path) : std::nullopt;
    if (!name)
        return {};
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;;GA;;;BA)(A;;GA;;;SY)", SDDL_REVISION_1, &descriptor, nullptr))
        return {};
    SECURITY_ATTRIBUTES security {sizeof security, descriptor, FALSE};
    const HANDLE mutex = CreateMutexW(&security, FALSE, mutexName(folderOf(*name)).c_str());
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    LocalFree(descriptor);
    if (mutex == nullptr)
        return {};
    if (existed && !takenOnlyByAdministrators(mutex)) {
        CloseHandle(mutex);
        return {};
    }
    // An abandoned mutex belonged to a writer that died; the store is whole, since every write
    // is a rename.
    const DWORD rc = WaitForSingleObject(mutex, static_cast<DWORD>(wait.count()));
    if (rc != WAIT_OBJECT_0 && rc != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return {};
    }
    return StoreLock(reinterpret_cast<std::intptr_t>(mutex));
}

void StoreLock::release() noexcept
{
    if (handle == None)
        return;
    const auto mutex = reinterpret_cast<HANDLE>(std::exchange(handle, None));
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

bool WriteAndRename(const std::string& path, const std::string& content, Links /*links*/)
{
    const std::optional<std::wstring> target = widetext::SystemPath(path);
    if (!target)
        return false;
    // The read-only attribute binds administrators too; a folder is not a store.
    const DWORD attributes = GetFileAttributesW(target->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    removeLeftTemporaries(*target);
    std::wstring temp;
    Handle h(createTemporary(*target, temp));
    if (!h.valid())
        return false;
    // On disk before the rename, so that a power cut cannot leave the renamed file empty. The
    // handle is closed before any delete: with share mode 0, a delete through another name fails.
    const bool written = writeAll(h.get(), content) && FlushFileBuffers(h.get());
    if (!h.close() || !written || !keepAttributesAndSecurity(*target, temp)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    // A reader in another process may hold the target open for a moment; try again briefly.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (MoveFileExW(temp.c_str(), target->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        Sleep(10);
    }
    DeleteFileW(temp.c_str());
    return false;
}

} // namespace detail
} // namespace doorsel
