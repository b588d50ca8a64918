#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace doorsel {

// The browse window's test of which rows come up checked: the random list's entries, read once per
// browse load, searched for the rows' paths.
class TextSearch {
public:
    explicit TextSearch(const std::vector<std::string>& entries);

    // How often each path occurs within the entries, in the paths' order, overlapping occurrences
    // included; exact and case-sensitive, at any position however far into the list. An empty path
    // occurs nowhere, nor does one holding a line break: no entry can hold one. One pass over the
    // entries serves every path: a list of thousands of lines is read once for all the rows.
    std::vector<std::int64_t> FindAll(const std::vector<std::string>& paths) const;
    std::vector<std::int64_t> FindAll(std::span<const std::string_view> paths) const;

    // Which of `count` paths occur at all, for more paths than are worth holding at once: `pathAt`
    // gives path i, made in `scratch` if it likes (it may be asked for a path more than once), and
    // `occurs` is called, in order, with each path that occurs. Setting `stop` ends the search
    // early, with some paths not yet looked at.
    using PathAt = std::function<std::string_view(size_t i, std::string& scratch)>;
    void FindEach(size_t count, const PathAt& pathAt, const std::function<void(size_t i)>& occurs,
        const std::atomic<bool>* stop = nullptr) const;

private:
    // The entries one after another, each ended by LF, so that no match runs from one into the next.
    std::string text;
};

} // namespace doorsel
