#include "randomlist.h"

#include "platform/appinfo.h"
#include "platform/filestore.h"
#include "platform/legacytext.h"

#include <algorithm>
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

std::vector<std::string> RandomListEntries(const std::string& text)
{
    std::vector<std::string> entries;
    size_t start = startsWithByteOrderMark(text) ? ByteOrderMark.size() : 0;
    while (start < text.size()) {
        // A plain scan: find_first_of would search its set once per character of a long list.
        const auto lineEnd = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(),
            [](char c) { return c == '\r' || c == '\n'; });
        const size_t end = static_cast<size_t>(lineEnd - text.begin());
        // A line holding a NUL byte names no file: no system path can hold one.
        const std::string_view line = std::string_view(text).substr(start, end - start);
        if (!isBlank(line) && line.find('\0') == std::string_view::npos)
            entries.emplace_back(text, start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return entries;
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

} // namespace doorsel
