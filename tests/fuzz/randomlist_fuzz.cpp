// Random list files of any bytes: reading the entries and searching them must never crash, hang or
// leak; the entries are the lines that are not blank, the check-mark search finds a string exactly
// when an entry holds it (as often for all rows at once as for one at a time), and a path the list's
// own writer keeps is read back as it stands.
#include "browse/textsearch.h"
#include "fuzz/fuzzinput.h"
#include "platform/randomlist.h"
#include "support/plaincount.h"

#include <cstdlib>

using namespace doorsel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input input(data, size);
    const std::string query = input.field();
    const std::string text = input.rest();

    const std::vector<std::string> entries = RandomListEntries(text);
    // The entries are the lines, split at every CR and every LF, that are not blank and hold no NUL,
    // after a byte-order mark.
    std::vector<std::string> lines;
    const size_t from = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    for (size_t start = from, i = from; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        const std::string line = text.substr(start, i - start);
        if (line.find_first_not_of(" \t") != std::string::npos && line.find('\0') == std::string::npos)
            lines.push_back(line);
        start = i + 1;
    }
    if (lines != entries)
        std::abort();
    bool inAnEntry = false;
    for (const std::string& entry : entries) {
        if (entry.find_first_not_of(" \t") == std::string::npos || entry.find_first_of("\r\n") != std::string::npos)
            std::abort();
        inAnEntry = inAnEntry || (!query.empty() && entry.find(query) != std::string::npos);
    }

    const TextSearch search(entries);
    const std::int64_t count = search.FindAll({query}).front();
    if (count < 0 || inAnEntry != (count > 0))
        std::abort();
    // All rows at once count as each on its own, for rows that overlap and nest, and for rows that
    // share their beginning and end as a browse list's rows do.
    const std::string first = entries.empty() ? std::string() : entries.front();
    const std::string half = query.substr(query.size() / 2);
    const std::vector<std::vector<std::string>> rowSets {{query, half, query.substr(0, query.size() / 2), first},
        {"/" + query + ".exe", "/" + half + ".exe", "/.exe", "/" + first + ".exe"}};
    for (const std::vector<std::string>& rows : rowSets) {
        const std::vector<std::int64_t> counts = search.FindAll(rows);
        for (size_t i = 0; i < rows.size(); ++i) {
            if (counts[i] != test::PlainCount(entries, rows[i]))
                std::abort();
        }
    }

    // What the writer stores for a checked row is read back unchanged, or left out as a whole.
    const std::vector<std::string> back = RandomListEntries(RandomListText({{true, query}, {false, "unchecked"}}));
    const bool plainPath = query.find_first_of(std::string("\r\n\0", 3)) == std::string::npos
        && query.find_first_not_of(" \t") != std::string::npos && query.rfind("\xEF\xBB\xBF", 0) != 0;
    if (back != std::vector<std::string> {query} && (plainPath || !back.empty()))
        std::abort();
    return 0;
}
