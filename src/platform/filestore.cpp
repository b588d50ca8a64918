#include "filestore.h"

#include <algorithm>

namespace doorsel {

std::optional<std::string> ReadStoreFile(const std::string& path)
{
    if (!detail::IsStorePath(path))
        return std::nullopt;
    detail::FileRead file = detail::ReadStore(path);
    if (file.status != detail::ReadStatus::Read)
        return std::nullopt;
    return std::move(file.content);
}

bool UpdateStoreFile(const std::string& path, const FileEdit& edit, Links links)
{
    const detail::StoreLock lock = detail::LockStore(path, links);
    if (!lock)
        return false;
    const detail::FileRead current = detail::ReadStore(path, links);
    if (current.status == detail::ReadStatus::Failed)
        return false;
    const std::optional<std::string> next
        = edit(current.status == detail::ReadStatus::Read ? std::optional<std::string>(current.content) : std::nullopt);
    if (!next)
        return false;
    return detail::WriteAndRename(path, *next, links);
}

bool ReplaceStoreFile(const std::string& path, const std::string& content, Links links)
{
    return UpdateStoreFile(
        path, [&](const std::optional<std::string>&) { return std::optional<std::string>(content); }, links);
}

namespace detail {

bool IsTemporaryName(std::string_view name)
{
    const std::string_view suffix = ".tmp";
    if (!name.ends_with(suffix))
        return false;
    name.remove_suffix(suffix.size());
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot < 2)
        return false;
    const std::string_view stamp = name.substr(dot + 1);
    int numbers = 0;
    for (size_t start = 0; start <= stamp.size(); ++numbers) {
        const size_t end = std::min(stamp.find('-', start), stamp.size());
        if (end == start || stamp.substr(start, end - start).find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        start = end + 1;
    }
    return numbers == 3;
}

} // namespace detail
} // namespace doorsel
