#include "filestore.h"

namespace doorsel {

std::optional<std::string> ReadStoreFile(const std::string& path)
{
    detail::FileRead file = detail::ReadStore(path);
    if (file.status != detail::ReadStatus::Read)
        return std::nullopt;
    return std::move(file.content);
}

bool UpdateStoreFile(const std::string& path, const FileEdit& edit, Links links)
{
    const detail::StoreLock lock = detail::LockStore(path);
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

} // namespace doorsel
