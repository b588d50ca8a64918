#pragma once

#include <string>

namespace doorsel {

// The "file:" URL of a local path, every byte but the unreserved ones percent-encoded as it stands,
// so that a name that is not valid text still names the very same file: "/a b/\xff.jpg" gives
// "file:///a%20b/%FF.jpg". The platform's separator becomes "/", and a path that does not begin
// with one (a drive, "C:\...") gets one in front.
std::string FileUrl(const std::string& path);

} // namespace doorsel
