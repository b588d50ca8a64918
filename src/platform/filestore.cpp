#include "filestore.h"

namespace doorsel {

bool updateFile(const std::string& path, const FileEdit& edit)
{
    const std::shared_ptr<void> lock = detail::lockExclusive(path);
    if (!lock)
        return false;
    const std::optional<std::string> next = edit(readFile(path));
    if (!next)
        return false;
    return detail::writeAndRename(path, *next);
}

bool replaceFile(const std::string& path, const std::string& content)
{
    return updateFile(path, [&](const std::optional<std::string>&) { return std::optional<std::string>(content); });
}

} // namespace doorsel
