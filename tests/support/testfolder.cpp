#include "support/testfolder.h"

#include "platform/appinfo.h"
#include "platform/filestore.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace doorsel::test {

#ifdef _WIN32
namespace {

// The standard library lists a folder through a buffer of 260 characters here, so it leaves deeper
// trees behind, and read-only files. A link is removed, never followed.
void removeTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            const std::wstring path = folder + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            } else if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                RemoveDirectoryW(path.c_str());
            } else {
                removeTree(path);
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace
#endif

TestFolder::TestFolder()
{
    static std::atomic<unsigned> counter {0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << "doorsel-test-" << stamp << '-' << counter++;
    const fs::path dir = fs::temp_directory_path() / name.str();
    fs::create_directories(dir);
    const std::u8string name8 = dir.u8string();
    path_.assign(name8.begin(), name8.end());
    SetProgramFolder(path_);
    ConfigPath = DefaultConfigPath();
}

TestFolder::~TestFolder()
{
    SetProgramFolder("");
    ConfigPath.clear();
#ifdef _WIN32
    removeTree(L"\\\\?\\" + pathOf(path_).wstring());
#else
    std::error_code ignored;
    fs::remove_all(path_, ignored);
#endif
}

std::string TestFolder::file(const std::string& name) const
{
    return path_ + PathSeparator + name;
}

fs::path pathOf(const std::string& bytes)
{
    return fs::path(std::u8string(bytes.begin(), bytes.end()));
}

namespace {
// No path for bytes that are no UTF-8 on Windows, where no file can have such a name.
std::optional<fs::path> pathIfAny(const std::string& bytes)
{
    try {
        return pathOf(bytes);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}
} // namespace

std::set<std::string> entries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(pathOf(folder))) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace(name.begin(), name.end());
    }
    names.erase(detail::StoreLockName);
    return names;
}

std::string slurp(const std::string& path)
{
    const std::optional<fs::path> file = pathIfAny(path);
    if (!file)
        return {};
    std::ifstream in(*file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool exists(const std::string& path)
{
    const std::optional<fs::path> file = pathIfAny(path);
    std::error_code ignored;
    return file && fs::exists(*file, ignored);
}

void spit(const std::string& path, const std::string& content)
{
    const std::optional<fs::path> file = pathIfAny(path);
    if (!file)
        return;
    std::ofstream out(*file, std::ios::binary | std::ios::trunc);
    out << content;
}

bool makeFolders(const std::string& path)
{
    const std::optional<fs::path> folder = pathIfAny(path);
    std::error_code error;
    return folder && (fs::create_directories(*folder, error) || fs::is_directory(*folder, error));
}

std::string testData(const std::string& name)
{
    return std::string(DOORSEL_TEST_DATA) + "/" + name;
}

} // namespace doorsel::test
