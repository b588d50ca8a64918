#include "filestore.h"

#include <windows.h>

namespace doorsel {
namespace {

class Handle {
public:
    explicit Handle(HANDLE h)
        : h_(h)
    {
    }
    ~Handle()
    {
        if (valid())
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }

private:
    HANDLE h_;
};

} // namespace

std::optional<std::string> readFile(const std::string& path)
{
    Handle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        return std::nullopt;
    std::string data;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(h.get(), buffer, sizeof buffer, &n, nullptr))
            return std::nullopt;
        if (n == 0)
            break;
        data.append(buffer, n);
    }
    return data;
}

namespace detail {

std::shared_ptr<void> lockExclusive(const std::string& path)
{
    HANDLE h = CreateFileA((path + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return nullptr;
    OVERLAPPED overlapped {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &overlapped)) {
        CloseHandle(h);
        return nullptr;
    }
    // Closing the handle releases the lock.
    return std::shared_ptr<void>(h, [](void* p) { CloseHandle(static_cast<HANDLE>(p)); });
}

bool writeAndRename(const std::string& path, const std::string& content)
{
    const std::string temp = path + ".tmp";
    {
        Handle h(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.valid())
            return false;
        const char* p = content.data();
        size_t left = content.size();
        while (left > 0) {
            const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
            DWORD written = 0;
            if (!WriteFile(h.get(), p, chunk, &written, nullptr) || written == 0) {
                DeleteFileA(temp.c_str());
                return false;
            }
            p += written;
            left -= written;
        }
    }
    // A reader in another process may hold the target open for a moment; try again briefly.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        Sleep(10);
    }
    DeleteFileA(temp.c_str());
    return false;
}

} // namespace detail
} // namespace doorsel
