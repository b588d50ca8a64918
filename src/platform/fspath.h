#pragma once

#include <filesystem>
#include <string>

namespace doorsel {

// The standard library's path for one of the program's byte strings, and back. On Windows the
// bytes are UTF-8 (the code page the manifest asks for), which the narrow constructor would read
// in another code page; elsewhere a name is its bytes. A string that names no file there gives an
// empty path.
std::filesystem::path FsPath(const std::string& bytes);
std::string FsBytes(const std::filesystem::path& path);

} // namespace doorsel
