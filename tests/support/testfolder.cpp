#include "support/testfolder.h"

#include "platform/appinfo.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace doorsel::test {

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
    std::error_code ignored;
    fs::remove_all(pathOf(path_), ignored);
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
