#include "support/testfolder.h"

#include "platform/appinfo.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
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
    path_ = dir.string();
    SetProgramFolder(path_);
    ConfigPath = DefaultConfigPath();
}

TestFolder::~TestFolder()
{
    SetProgramFolder("");
    ConfigPath.clear();
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TestFolder::file(const std::string& name) const
{
    return path_ + PathSeparator + name;
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool exists(const std::string& path)
{
    std::error_code ignored;
    return fs::exists(path, ignored);
}

void spit(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string testData(const std::string& name)
{
    return std::string(DOORSEL_TEST_DATA) + "/" + name;
}

} // namespace doorsel::test
