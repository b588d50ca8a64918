#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace doorsel::test {

// How often st occurs within the entries, each entry searched on its own, one position at a time:
// the reference answer for the check-mark search.
inline std::int64_t PlainCount(const std::vector<std::string>& entries, const std::string& st)
{
    if (st.empty() || st.find_first_of("\r\n") != std::string::npos)
        return 0;
    std::int64_t count = 0;
    for (const std::string& entry : entries) {
        for (size_t at = entry.find(st); at != std::string::npos; at = entry.find(st, at + 1))
            ++count;
    }
    return count;
}

} // namespace doorsel::test
