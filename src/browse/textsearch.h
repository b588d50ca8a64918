#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace doorsel {

// The browse window's test of which rows come up checked: the entries of a few list files (in
// practice the random list), read as the random run reads them, searched for a row's path. Each
// file is read once, when it is added, so that one Find per listed executable costs only the search.
class TextSearch {
public:
    TextSearch();
    ~TextSearch();
    TextSearch(const TextSearch&) = delete;
    TextSearch& operator=(const TextSearch&) = delete;

    // Adds every regular file that matches path & filename; the name may hold the wildcards '*' and
    // '?'. Each match is listed as path & its name, at most once.
    void AddFile(const std::string& path, const std::string& filename);
    void ClearFileList();

    // How often st occurs within the entries of the listed files, overlapping occurrences included;
    // exact and case-sensitive, at any position however far into a file. An empty st occurs nowhere,
    // nor does one holding a line break: no entry can hold one.
    std::int64_t Find(const std::string& st) const;

    // The listed files, in the order added.
    std::vector<std::string> FileList() const;

private:
    struct Text;
    struct Listed {
        std::string path;
        std::shared_ptr<const Text> text;
    };
    struct Cached {
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        std::shared_ptr<const Text> text;
    };
    void addReadable(const std::string& fullPath);

    std::vector<Listed> files_;
    // The browse window adds the same list file once per folder it walks: an unchanged file is read
    // and indexed once, however often it is added again.
    std::map<std::string, Cached> cache_;
};

// Whether a file name matches a pattern where '*' stands for any run of characters and '?' for one.
bool MatchesWildcard(const std::string& name, const std::string& pattern);

} // namespace doorsel
