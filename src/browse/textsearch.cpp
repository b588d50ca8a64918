#include "textsearch.h"

#include "browse/randomlist.h"
#include "platform/filestore.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string_view>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

// Which 16-byte runs occur somewhere in a text, kept as a one-hash Bloom filter: when a run of the
// searched string is missing, the string cannot occur, and the full search is skipped. Most rows of
// the browse list are not in the random list, and their paths share all but a few runs with the
// paths that are, so this turns most searches into three look-ups.
class RunFilter {
public:
    static constexpr size_t Width = 16;

    explicit RunFilter(std::string_view text)
        : bits(BitCount / 64, 0)
    {
        for (size_t i = 0; i + Width <= text.size(); ++i)
            set(hashAt(text, i));
    }

    bool mayContain(std::string_view st) const
    {
        if (st.size() < Width)
            return true;
        const size_t last = st.size() - Width;
        return test(hashAt(st, 0)) && test(hashAt(st, last / 2)) && test(hashAt(st, last));
    }

private:
    static constexpr size_t BitCount = size_t {1} << 21;

    static std::uint64_t hashAt(std::string_view text, size_t at)
    {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, text.data() + at, 8);
        std::memcpy(&b, text.data() + at + 8, 8);
        std::uint64_t h = (a * 0x9E3779B97F4A7C15ULL) ^ (b + 0xC2B2AE3D27D4EB4FULL + (a << 6) + (a >> 2));
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ULL;
        return h ^ (h >> 32);
    }
    void set(std::uint64_t h) { bits[(h % BitCount) / 64] |= std::uint64_t {1} << (h % 64); }
    bool test(std::uint64_t h) const { return (bits[(h % BitCount) / 64] >> (h % 64)) & 1U; }

    std::vector<std::uint64_t> bits;
};

// Small files are searched outright; the filter pays off on lists of some length.
constexpr size_t FilterFrom = size_t {8} * 1024;

} // namespace

struct TextSearch::Text {
    // The entries one after another, each ended by LF: a string without line breaks occurs here
    // exactly as often as within the entries, and never in what the run does not read as one.
    explicit Text(const std::string& fileText)
    {
        const std::vector<std::string> entries = RandomListEntries(fileText);
        bytes.reserve(fileText.size());
        for (const std::string& entry : entries) {
            bytes += entry;
            bytes += '\n';
        }
        if (bytes.size() >= FilterFrom)
            filter = std::make_unique<RunFilter>(bytes);
    }
    std::string bytes;
    std::unique_ptr<RunFilter> filter;
};

TextSearch::TextSearch() = default;
TextSearch::~TextSearch() = default;

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
    for (const Listed& listed : files_) {
        if (listed.path == fullPath)
            return;
    }
    std::error_code error;
    const std::uintmax_t size = fs::file_size(fullPath, error);
    const std::int64_t modified = error ? 0 : fs::last_write_time(fullPath, error).time_since_epoch().count();
    Cached& cached = cache_[fullPath];
    if (error || !cached.text || cached.size != size || cached.modified != modified) {
        std::optional<std::string> text = readFile(fullPath);
        if (!text) {
            cache_.erase(fullPath);
            return;
        }
        cached = {size, modified, std::make_shared<const Text>(*text)};
    }
    files_.push_back({fullPath, cached.text});
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
    if (st.empty() || st.find_first_of("\r\n") != std::string::npos)
        return 0;
    // Built once per query: every listed path shares a long prefix with its neighbours, which a
    // plain character-by-character search pays for on every line.
    const std::boyer_moore_horspool_searcher searcher(st.begin(), st.end());
    std::int64_t count = 0;
    for (const Listed& listed : files_) {
        const std::string& text = listed.text->bytes;
        if (listed.text->filter && !listed.text->filter->mayContain(st))
            continue;
        auto from = text.begin();
        for (;;) {
            const auto hit = searcher(from, text.end()).first;
            if (hit == text.end())
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
