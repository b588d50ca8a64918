#include "randomlist.h"

#include "platform/appinfo.h"
#include "platform/filestore.h"
#include "platform/legacytext.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

namespace doorsel {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool startsWithByteOrderMark(std::string_view text)
{
    return text.substr(0, ByteOrderMark.size()) == ByteOrderMark;
}

// Finds a list's entries in its text as it arrives, piece after piece: a line ends at every CR
// and every LF (so CR LF ends one line and an empty one, which is no entry), and only a line that
// is not blank and holds no NUL is an entry. An entry is given by where it starts in the text and
// its length; `entry` returns false to stop the scan.
class EntryScanner {
public:
    // Starts at `start` of the text: past a byte-order mark, if the text has one.
    explicit EntryScanner(std::uint64_t start)
        : lineStart(start)
        , position(start)
    {
    }

    template <typename Entry> bool Feed(std::string_view piece, const Entry& entry)
    {
        const char* at = piece.data();
        const char* const end = at + piece.size();
        // The next LF, looked for again only once a line has passed it: each byte of the piece is
        // searched for an LF once and for a CR once, whichever line ends the text uses.
        const char* nextLf = nullptr;
        for (;;) {
            // A line at a time, the part of it in this piece: its end, whether all of it is blank
            // (which the first other character answers) and whether it holds a NUL.
            if (nextLf == nullptr || nextLf < at)
                nextLf = find(at, end, '\n');
            const char* const lineEnd = find(at, nextLf, '\r');
            const auto length = static_cast<size_t>(lineEnd - at);
            blank = blank && std::all_of(at, lineEnd, [](char c) { return c == ' ' || c == '\t'; });
            hasNul = hasNul || (length > 0 && std::memchr(at, '\0', length) != nullptr);
            position += length;
            if (lineEnd == end)
                return true;
            if (!endLine(entry))
                return false;
            lineStart = ++position;
            at = lineEnd + 1;
        }
    }

    // The last line needs no line end.
    template <typename Entry> void Finish(const Entry& entry) { endLine(entry); }

private:
    // The first `c` in [from, to), or `to`.
    static const char* find(const char* from, const char* to, char c)
    {
        const void* found = std::memchr(from, c, static_cast<size_t>(to - from));
        return found != nullptr ? static_cast<const char*>(found) : to;
    }

    template <typename Entry> bool endLine(const Entry& entry)
    {
        const bool isEntry = !blank && !hasNul;
        blank = true;
        hasNul = false;
        return !isEntry || entry(lineStart, static_cast<size_t>(position - lineStart));
    }

    std::uint64_t lineStart;
    std::uint64_t position;
    bool blank = true;
    bool hasNul = false;
};

} // namespace

std::string RandomListPath()
{
    return ProgramFile("random.dat");
}

std::string RandomListText(const std::vector<RandomListRow>& rows)
{
    std::string text;
    for (const RandomListRow& row : rows) {
        if (!row.checked || isBlank(row.fullPath)
            || row.fullPath.find_first_of(std::string("\r\n\0", 3)) != std::string::npos
            || (text.empty() && startsWithByteOrderMark(row.fullPath)))
            continue;
        text += row.fullPath;
        text += "\r\n";
    }
    return text;
}

bool SaveRandomList(const std::vector<RandomListRow>& rows)
{
    return ReplaceStoreFile(RandomListPath(), RandomListText(rows));
}

std::vector<std::string_view> RandomListLines(std::string_view text)
{
    std::vector<std::string_view> entries;
    const size_t start = startsWithByteOrderMark(text) ? ByteOrderMark.size() : 0;
    const auto entry = [&](std::uint64_t at, size_t length) {
        entries.push_back(text.substr(static_cast<size_t>(at), length));
        return true;
    };
    EntryScanner scan(start);
    scan.Feed(text.substr(start), entry);
    scan.Finish(entry);
    return entries;
}

std::vector<std::string> RandomListEntries(const std::string& text)
{
    const std::vector<std::string_view> lines = RandomListLines(text);
    return {lines.begin(), lines.end()};
}

std::optional<std::vector<std::string>> ReadRandomList()
{
    const std::optional<std::string> text = ReadStoreFile(RandomListPath());
    if (!text)
        return std::nullopt;
    std::vector<std::string> entries = RandomListEntries(*text);
    for (std::string& entry : entries)
        entry = LegacyLineAsText(std::move(entry));
    return entries;
}

RandomListReader::RandomListReader()
    : file(RandomListPath())
{
}

// One pass over the file for each call: a pass touches a few pages of memory, where holding the
// list would touch as many as it is long. The count notes where every few entries start, so that
// finding one reads only from the nearest of them.
std::optional<size_t> RandomListReader::Count() const
{
    size_t count = 0;
    marks.clear();
    if (!scan(0, [&](std::uint64_t at, size_t) {
            if (count++ % MarkEvery == 0)
                marks.push_back(at);
            return true;
        }))
        return std::nullopt;
    return count;
}

std::optional<std::string> RandomListReader::Entry(size_t index) const
{
    std::uint64_t from = 0;
    if (!marks.empty()) {
        const size_t mark = std::min(index / MarkEvery, marks.size() - 1);
        from = marks[mark];
        index -= mark * MarkEvery;
    }
    std::optional<std::pair<std::uint64_t, size_t>> found;
    if (!scan(from,
            [&](std::uint64_t at, size_t length) {
                if (index-- == 0)
                    found.emplace(at, length);
                return !found;
            })
        || !found)
        return std::nullopt;
    std::string line(found->second, '\0');
    for (size_t read = 0; read < line.size();) {
        const std::int64_t n = file.ReadAt(found->first + read, line.data() + read, line.size() - read);
        if (n <= 0)
            return std::nullopt;
        read += static_cast<size_t>(n);
    }
    return LegacyLineAsText(std::move(line));
}

// From the start of the file, the first piece tells whether a byte-order mark comes before the
// first line; from anywhere else the scan starts at the start of a line.
bool RandomListReader::scan(std::uint64_t from, const std::function<bool(std::uint64_t, size_t)>& entry) const
{
    if (!file)
        return false;
    EntryScanner scanner(from);
    bool first = from == 0;
    bool stopped = false;
    const bool read = file.ReadPieces(from, [&](std::string_view piece) {
        if (std::exchange(first, false) && startsWithByteOrderMark(piece)) {
            piece.remove_prefix(ByteOrderMark.size());
            scanner = EntryScanner(ByteOrderMark.size());
        }
        stopped = !scanner.Feed(piece, entry);
        return !stopped;
    });
    if (read && !stopped)
        scanner.Finish(entry);
    return read;
}

} // namespace doorsel
