#include "folderlist.h"

#include <algorithm>

namespace doorsel {
namespace {

unsigned char upper(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

int compareFolded(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = upper(a[i]);
        const unsigned char y = upper(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

void SortNamesLikeTheFileSystem(std::vector<FolderEntry>& entries)
{
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int folded = compareFolded(a.name, b.name);
        // Names equal but for case (possible outside Windows) keep a fixed order too.
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
}

} // namespace doorsel
