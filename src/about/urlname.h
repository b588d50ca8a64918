#pragma once

#include <optional>
#include <string>

// Where a download lands: the folder, the platform's separator and the URL's last path segment.
namespace doorsel::about {

// The text after the last "/" of the URL; "" when the URL ends with "/" or holds none.
std::string FileNameFromUrl(const std::string& url);

// True for a name that stays a plain file in the folder it is joined to: not "", "." or "..", no
// path separator, drive colon or control character, and no device name that Windows would open
// instead of a file.
bool IsSafeFileName(const std::string& name);

// The full path the URL's body is stored under in the folder, or nothing when the URL names no
// file that can safely be written there or the folder is "" (not known).
std::optional<std::string> DownloadPath(const std::string& url, const std::string& folder);

} // namespace doorsel::about
