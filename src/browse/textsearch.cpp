#include "textsearch.h"

#include <cstring>
#include <functional>
#include <string_view>

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

struct TextSearch::Filter : RunFilter {
    using RunFilter::RunFilter;
};

TextSearch::TextSearch(const std::vector<std::string>& entries)
    : whole(entries.begin(), entries.end())
{
    for (const std::string& entry : entries) {
        text += entry;
        text += '\n';
    }
    if (text.size() >= FilterFrom)
        filter = std::make_unique<Filter>(text);
}

TextSearch::~TextSearch() = default;

bool TextSearch::Contains(const std::string& st) const
{
    return whole.count(st) != 0 || Find(st) != 0;
}

std::int64_t TextSearch::Find(const std::string& st) const
{
    if (st.empty() || st.find_first_of("\r\n") != std::string::npos)
        return 0;
    if (filter && !filter->mayContain(st))
        return 0;
    // The rows' paths share long prefixes with the entries, which a character-by-character search
    // pays for at every entry; this one skips ahead by up to the path's length.
    const std::boyer_moore_horspool_searcher searcher(st.begin(), st.end());
    std::int64_t count = 0;
    for (auto from = text.begin();;) {
        const auto hit = searcher(from, text.end()).first;
        if (hit == text.end())
            return count;
        ++count;
        from = hit + 1;
    }
}

} // namespace doorsel
