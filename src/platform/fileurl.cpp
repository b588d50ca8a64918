#include "fileurl.h"

#include "appinfo.h"

namespace doorsel {

std::string FileUrl(const std::string& path)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    url.reserve(url.size() + path.size() * 3 + 1);
    if (path.empty() || (path.front() != PathSeparator && path.front() != '/'))
        url += '/';
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool kept = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')
            || byte == '-' || byte == '.' || byte == '_' || byte == '~' || byte == '/';
        if (c == PathSeparator) {
            url += '/';
        } else if (kept) {
            url += c;
        } else {
            url += '%';
            url += Hex[byte >> 4];
            url += Hex[byte & 0x0F];
        }
    }
    return url;
}

} // namespace doorsel
