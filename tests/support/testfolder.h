#pragma once

#include "platform/appinfo.h"
#include "platform/windowsdir.h"

#include <filesystem>
#include <set>
#include <string>

namespace doorsel::test {

// A fresh, empty program folder for one test: ProgramFolder() and ConfigPath point into it while
// the object lives, and the folder is removed afterwards.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() joined with a relative name by the platform's separator.
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// A path as the program spells it (UTF-8 on Windows, the code page its manifest sets; bytes elsewhere),
// for the standard library, which would read a Windows byte string in another code page.
std::filesystem::path pathOf(const std::string& bytes);

// Whole content of a file, "" when absent; and writing one directly (test set-up only). A name that
// cannot be a file name here is never there.
std::string slurp(const std::string& path);
bool exists(const std::string& path);
void spit(const std::string& path, const std::string& content);
bool makeFolders(const std::string& path);

// The names of what a folder holds, leaving out the stores' lock file.
std::set<std::string> entries(const std::string& folder);

// A file of the tests' data folder.
std::string testData(const std::string& name);

// A piece of a file name that text handling can get wrong: outside Windows the bytes given, which
// are no valid UTF-8 (a name there is any bytes); on Windows, where every name is text, characters
// outside the code page.
inline std::string OddName([[maybe_unused]] const std::string& bytes)
{
#ifdef _WIN32
    return "\xce\xbb\xe8\xa1\xa8";
#else
    return bytes;
#endif
}

// Where a first start points the logon-screens folder: the Windows folder's Resources (outside
// Windows, the program folder's).
inline std::string DefaultLogonScreensFolder()
{
    return GetWindowsDir() + PathSeparator + "Resources" + PathSeparator;
}

} // namespace doorsel::test
