#include "browserows.h"

#include "browse/searchfolder.h"
#include "platform/appinfo.h"

#include <algorithm>
#include <cstring>

namespace doorsel {
namespace {

constexpr std::size_t BlockSize = std::size_t {1} << 20;

} // namespace

void BrowseRows::add(std::string_view fullPath)
{
    if (fullPath.size() > spareSize) {
        // A path longer than a block gets a block of its own.
        const std::size_t size = std::max(BlockSize, fullPath.size());
        blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        spare = blocks.back().get();
        spareSize = size;
    }
    if (!fullPath.empty())
        std::memcpy(spare, fullPath.data(), fullPath.size());
    const std::size_t nameAt = fullPath.rfind(PathSeparator) + 1; // 0 without a separator
    const std::string_view folderName = FolderNameIn(fullPath.substr(0, nameAt));
    const std::size_t folderAt
        = folderName.empty() ? nameAt : static_cast<std::size_t>(folderName.data() - fullPath.data());
    rows.push_back({spare, static_cast<std::uint32_t>(fullPath.size()), static_cast<std::uint32_t>(nameAt),
        static_cast<std::uint32_t>(folderAt), false});
    spare += fullPath.size();
    spareSize -= fullPath.size();
}

std::string_view BrowseRows::fullPath(std::size_t row) const
{
    return {rows[row].path, rows[row].pathSize};
}

std::string_view BrowseRows::fileName(std::size_t row) const
{
    return fullPath(row).substr(rows[row].nameAt);
}

std::string_view BrowseRows::folderName(std::size_t row) const
{
    const Row& r = rows[row];
    return r.folderAt == r.nameAt ? std::string_view() : fullPath(row).substr(r.folderAt, r.nameAt - 1 - r.folderAt);
}

} // namespace doorsel
