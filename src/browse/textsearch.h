#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace doorsel {

// The browse window's test of which rows come up checked: the random list's entries, read once per
// browse load, searched for the rows' paths.
class TextSearch {
public:
    explicit TextSearch(const std::vector<std::string>& entries);

    // How often st occurs within the entries, overlapping occurrences included; exact and
    // case-sensitive, at any position however far into the list. An empty st occurs nowhere, nor
    // does one holding a line break: no entry can hold one.
    std::int64_t Find(const std::string& st) const;

    // Find of every path, in the paths' order, from one pass over the entries: a list of thousands
    // of lines is read once for all the rows, not once per row.
    std::vector<std::int64_t> FindAll(const std::vector<std::string>& paths) const;

private:
    // The entries one after another, each ended by LF, so that no match runs from one into the next.
    std::string text;
};

} // namespace doorsel
