#include "randomlist.h"

#include "platform/appinfo.h"
#include "platform/filestore.h"

namespace doorsel {

std::string RandomListPath()
{
    return ProgramFolder() + PathSeparator + "random.dat";
}

std::string RandomListText(const std::vector<RandomListRow>& rows)
{
    std::string text;
    for (const RandomListRow& row : rows) {
        if (!row.checked || row.fullPath.empty()
            || row.fullPath.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            continue;
        text += row.fullPath;
        text += "\r\n";
    }
    return text;
}

bool SaveRandomList(const std::vector<RandomListRow>& rows)
{
    return replaceFile(RandomListPath(), RandomListText(rows));
}

std::vector<std::string> RandomListEntries(const std::string& text)
{
    std::vector<std::string> entries;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            entries.emplace_back(text, start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return entries;
}

std::optional<std::vector<std::string>> ReadRandomList()
{
    const std::optional<std::string> text = readFile(RandomListPath());
    if (!text)
        return std::nullopt;
    return RandomListEntries(*text);
}

} // namespace doorsel
