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

bool StoreReader::ReadPieces(std::uint64_t offset, const std::function<bool(std::string_view piece)>& piece) const
{
    // A few pages: a start-up run that reads a long list this way touches no more memory for it,
    // and makes few calls to read it.
    char buffer[8192];
    for (;;) {
        const std::int64_t n = ReadAt(offset, buffer, sizeof buffer);
        if (n <= 0)
            return n == 0;
        if (!piece(std::string_view(buffer, static_cast<size_t>(n))))
            return true;
        offset += static_cast<std::uint64_t>(n);
        if (EndsAt(offset, static_cast<size_t>(n) < sizeof buffer))
            return true;
    }
}

namespace detail {

FileRead ReadStore(const std::string& path, Links links)
{
    FileRead result;
    const StoreReader file(path, links == Links::Follow);
    if (!file) {
        result.status = file.Missing() ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    // Read straight into the text, one byte more than the size so that the end shows in the same
    // pass; a buffer in between would touch as much memory again.
    constexpr std::uint64_t largestHint = 1U << 30;
    std::string& content = result.content;
    const std::uint64_t size = file.SizeHint();
    content.resize(size > 0 && size < largestHint ? static_cast<size_t>(size) + 1 : 4096);
    size_t used = 0;
    for (;;) {
        if (used == content.size())
            content.resize(used * 2);
        const std::int64_t n = file.ReadAt(used, content.data() + used, content.size() - used);
        if (n < 0) {
            content.clear();
            return result;
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
        if (file.EndsAt(used, used < content.size()))
            break;
    }
    content.resize(used);
    result.status = ReadStatus::Read;
    return result;
}

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
