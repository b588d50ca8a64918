#include "textsearch.h"

#include "platform/filestore.h"

#include <algorithm>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace doorsel {

void TextSearch::AddFile(const std::string& path, const std::string& filename)
{
    if (filename.find_first_of("*?") == std::string::npos) {
        addReadable(path + filename);
        return;
    }
    // Only the name holds wildcards; path names the folder.
    std::error_code error;
    const fs::path folder = path.empty() ? fs::path(".") : fs::path(path);
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        // Names starting with a dot are hidden by convention.
        if (name.empty() || name.front() == '.' || !MatchesWildcard(name, filename))
            continue;
        std::error_code statError;
        if (it->is_regular_file(statError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        addReadable(path + name);
}

void TextSearch::addReadable(const std::string& fullPath)
{
    for (const Listed& listed : files_)
        if (listed.path == fullPath)
            return;
    std::optional<std::string> text = readFile(fullPath);
    if (text)
        files_.push_back({fullPath, std::move(*text)});
}

void TextSearch::ClearFileList()
{
    files_.clear();
}

std::vector<std::string> TextSearch::FileList() const
{
    std::vector<std::string> paths;
    paths.reserve(files_.size());
    for (const Listed& listed : files_)
        paths.push_back(listed.path);
    return paths;
}

std::int64_t TextSearch::Find(const std::string& st) const
{
    if (st.empty())
        return 0;
    // Built once per query: every listed path shares a long prefix with its neighbours, which a
    // plain character-by-character search pays for on every line.
    const std::boyer_moore_horspool_searcher searcher(st.begin(), st.end());
    std::int64_t count = 0;
    for (const Listed& listed : files_) {
        auto from = listed.text.begin();
        for (;;) {
            const auto hit = searcher(from, listed.text.end()).first;
            if (hit == listed.text.end())
                break;
            ++count;
            from = hit + 1;
        }
    }
    return count;
}

bool MatchesWildcard(const std::string& name, const std::string& pattern)
{
    // Greedy match with one step of backtracking to the last '*'.
    size_t n = 0, p = 0;
    size_t starAt = std::string::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace doorsel
