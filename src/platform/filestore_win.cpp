#include "filestore.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

#include <windows.h>

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

std::string fullPath(const std::string& file)
{
    const DWORD needed = GetFullPathNameA(file.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return file;
    std::string path(needed, '\0');
    const DWORD length = GetFullPathNameA(file.c_str(), needed, path.data(), nullptr);
    if (length == 0 || length >= needed)
        return file;
    path.resize(length);
    return path;
}

// A mutex name for a store: the same for every spelling of its full path (Windows compares names
// without regard to case), and short whatever the path's length.
std::string mutexName(const std::string& path)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : fullPath(path)) {
        const unsigned char u = static_cast<unsigned char>(c);
        hash = (hash ^ ((u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : (u == '/' ? '\\' : u))) * 1099511628211ULL;
    }
    char name[64];
    std::snprintf(name, sizeof name, "Global\\doorsel-store-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

std::string temporaryPrefix(const std::string& path)
{
    return path + ".";
}

// Creates a new temporary file beside the store, exclusively: an existing name, a planted link
// included, is never opened but skipped.
HANDLE createTemporary(const std::string& path, std::string& tempPath)
{
    static std::atomic<unsigned> counter {0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = temporaryPrefix(path) + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) + "-"
            + std::to_string(GetTickCount()) + ".tmp";
        const HANDLE h = CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

// Called under the store's lock, so no other writer is using one of these names.
void removeLeftTemporaries(const std::string& path)
{
    WIN32_FIND_DATAA found;
    const std::string prefix = temporaryPrefix(path);
    const HANDLE search = FindFirstFileA((prefix + "*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    const size_t separator = path.find_last_of("\\/");
    const std::string folder = separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
    do {
        const std::string name = folder + found.cFileName;
        if (name.compare(0, prefix.size(), prefix) == 0 && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            DeleteFileA(name.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
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

namespace detail {

// Windows programs do not meet links in a program folder; Links only matters elsewhere.
FileRead readStore(const std::string& path, Links /*links*/)
{
    FileRead result;
    Handle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) {
        const DWORD error = GetLastError();
        result.status
            = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    if (GetFileType(h.get()) != FILE_TYPE_DISK)
        return result;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(h.get(), buffer, sizeof buffer, &n, nullptr)) {
            result.content.clear();
            return result;
        }
        if (n == 0)
            break;
        result.content.append(buffer, n);
    }
    result.status = ReadStatus::Read;
    return result;
}

// A named mutex, so no lock file is left beside the stores; it is freed with the last handle.
StoreLock lockExclusive(const std::string& path, std::chrono::milliseconds wait)
{
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName(path).c_str());
    if (mutex == nullptr)
        return {};
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

bool writeAndRename(const std::string& path, const std::string& content, Links /*links*/)
{
    // The read-only attribute binds administrators too; a folder is not a store.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    removeLeftTemporaries(path);
    std::string temp;
    Handle h(createTemporary(path, temp));
    if (!h.valid())
        return false;
    // On disk before the rename, so that a power cut cannot leave the renamed file empty. The
    // handle is closed before any delete: with share mode 0, a delete through another name fails.
    const bool written = writeAll(h.get(), content) && FlushFileBuffers(h.get());
    if (!h.close() || !written) {
        DeleteFileA(temp.c_str());
        return false;
    }
    // A reader in another process may hold the target open for a moment; try again briefly.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        Sleep(10);
    }
    DeleteFileA(temp.c_str());
    return false;
}

} // namespace detail
} // namespace doorsel
