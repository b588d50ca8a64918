#include "browserows.h"

#include "browse/searchfolder.h"
#include "platform/appinfo.h"

#include <algorithm>
#include <cstring>

namespace doorsel {
namespace {

constexpr std::size_t BlockSize = std::size_t {1} << 20;

} // namespace

const char* BrowseRows::keep(std::string_view bytes)
{
    if (bytes.size() > spareSize) {
        // Bytes longer than a block get a block of their own.
        const std::size_t size = std::max(BlockSize, bytes.size());
        blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        spare = blocks.back().get();
        spareSize = size;
    }
    char* kept = spare;
    if (!bytes.empty())
        std::memcpy(kept, bytes.data(), bytes.size());
    spare += bytes.size();
    spareSize -= bytes.size();
    return kept;
}

void BrowseRows::add(std::string_view fullPath)
{
    const std::size_t nameAt = fullPath.rfind(PathSeparator) + 1; // 0 without a separator
    const std::string_view folderPath = fullPath.substr(0, nameAt);
    if (folders.empty() || folderPath != std::string_view(folders.back().path, folders.back().size)) {
        const std::string_view folderName = FolderNameIn(folderPath);
        const std::size_t folderNameAt
            = folderName.empty() ? nameAt : static_cast<std::size_t>(folderName.data() - folderPath.data());
        folders.push_back(
            {keep(folderPath), static_cast<std::uint32_t>(nameAt), static_cast<std::uint32_t>(folderNameAt)});
    }
    const std::string_view name = fullPath.substr(nameAt);
    rows.push_back(
        {keep(name), static_cast<std::uint32_t>(folders.size() - 1), static_cast<std::uint32_t>(name.size()), 0});
}

std::string BrowseRows::fullPath(std::size_t row) const
{
    std::string path;
    appendFullPath(row, path);
    return path;
}

void BrowseRows::appendFullPath(std::size_t row, std::string& to) const
{
    const Folder& folder = folders[rows[row].folder];
    to.append(folder.path, folder.size).append(fileName(row));
}

std::string_view BrowseRows::folderName(std::size_t row) const
{
    const Folder& folder = folders[rows[row].folder];
    return folder.nameAt == folder.size
        ? std::string_view()
        : std::string_view(folder.path + folder.nameAt, folder.size - 1 - folder.nameAt);
}

} // namespace doorsel
