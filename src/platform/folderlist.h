#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace doorsel {

struct FolderEntry {
    std::string name;
    bool isDirectory = false; // a link to a folder counts as a folder
    bool isLink = false; // a symbolic link or a junction, whatever it leads to
    bool isNormalFile = false; // a file (or a link to one) that is neither hidden nor a system file
};

// What makes a folder the same folder whatever path or link leads to it.
struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    auto operator<=>(const FolderIdentity& other) const = default;
};

// Every entry of a folder except "." and "..", hidden and system entries included, names as the
// file system stores them (bytes). Names come in case-insensitive order, the order Windows' own
// file system returns them in, so that a walk is the same on every platform. A folder that is
// missing or cannot be read gives no entries.
// When asked, `identity` receives the folder's identity, read from the open folder itself.
// Once `stop` is set (from any thread) the listing ends at its next entry, with what it has read so far.
std::vector<FolderEntry> ListFolder(const std::string& folder, std::optional<FolderIdentity>* identity = nullptr,
    const std::atomic<bool>* stop = nullptr);

std::optional<FolderIdentity> IdentityOf(const std::string& folder);

// Sorts names the way ListFolder returns them.
void SortNamesLikeTheFileSystem(std::vector<FolderEntry>& entries);

} // namespace doorsel
