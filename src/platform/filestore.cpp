#include "filestore.h"

namespace doorsel {

std::optional<std::string> readFile(const std::string& path)
{
    detail::FileRead file = detail::readStore(path);
    if (file.status != detail::ReadStatus::Read)
        return std::nullopt;
    return std::move(file.content);
}

bool updateFile(const std::string& path, const FileEdit& edit, Links links)
{
    const detail::StoreLock lock = detail::lockExclusive(path);
    if (!lock)
        return false;
    const detail::FileRead current = detail::readStore(path, links);
    if (current.status == detail::ReadStatus::Failed)
        return false;
    const std::optional<std::string> next
        = edit(current.status == detail::ReadStatus::Read ? std::optional<std::string>(current.content) : std::nullopt);
    if (!next)
        return false;
    return detail::writeAndRename(path, *next, links);
}

bool replaceFile(const std::string& path, const std::string& content, Links links)
{
    return updateFile(
        path, [&](const std::optional<std::string>&) { return std::optional<std::string>(content); }, links);
}

} // namespace doorsel
