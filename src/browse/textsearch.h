#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace doorsel {

// The browse window's test of which rows come up checked: the random list's entries, read once per
// browse load, searched for a row's path.
class TextSearch {
public:
    explicit TextSearch(const std::vector<std::string>& entries);
    ~TextSearch();
    TextSearch(const TextSearch&) = delete;
    TextSearch& operator=(const TextSearch&) = delete;

    // How often st occurs within the entries, overlapping occurrences included; exact and
    // case-sensitive, at any position however far into the list. An empty st occurs nowhere, nor
    // does one holding a line break: no entry can hold one.
    std::int64_t Find(const std::string& st) const;

    // Whether st occurs at all: Find(st) != 0, answered at once when st is a whole entry, as the
    // rows of a list the browse window saved are.
    bool Contains(const std::string& st) const;

private:
    // The entries one after another, each ended by LF, so that no match runs from one into the next.
    std::string text;
    std::unordered_set<std::string> whole;
    // Most rows are not in the list; for a long list this rules nearly all of them out at once.
    struct Filter;
    std::unique_ptr<Filter> filter;
};

} // namespace doorsel
