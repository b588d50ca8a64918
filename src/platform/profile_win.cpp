#include "profile.h"

#include "filestore.h"

#include <string_view>

#include <windows.h>

namespace doorsel {
namespace {

bool storable(const std::string& s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

// The kernel32 functions look for a name without a folder in the Windows folder; the program means
// the current folder, as everywhere else (and as CopyFile and MoveFileEx do).
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

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool moveOver(const std::string& from, const std::string& to)
{
    // A reader in another process may hold the target open for a moment; try again briefly.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        Sleep(10);
    }
    return false;
}

} // namespace

std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& file)
{
    char buffer[255];
    const DWORD length
        = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, fullPath(file).c_str());
    return std::string(buffer, length);
}

bool WriteIniValue(
    const std::string& section, const std::string& key, const std::string& value, const std::string& file)
{
    // kernel32 would write a line break raw, letting a value inject sections and keys.
    if (!storable(section) || !storable(key) || !storable(value))
        return false;
    const std::string path = fullPath(file);
    const std::shared_ptr<void> lock = detail::lockExclusive(path);
    if (!lock)
        return false;

    // kernel32 edits a copy, which then replaces the file whole, so no reader ever sees a half-written file.
    const std::string temp = path + ".tmp";
    const bool existed = exists(path);
    if (existed) {
        if (!CopyFileA(path.c_str(), temp.c_str(), FALSE))
            return false;
    } else if (exists(temp) && !DeleteFileA(temp.c_str())) {
        return false; // a copy left by an interrupted write, which must not become the new file
    }
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), temp.c_str())) {
        DeleteFileA(temp.c_str());
        return false;
    }
    if (existed && readFile(temp) == readFile(path)) {
        DeleteFileA(temp.c_str());
        return true;
    }
    if (!moveOver(temp, path)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

} // namespace doorsel
