#include "fspath.h"

namespace doorsel {

std::filesystem::path FsPath(const std::string& bytes)
{
    return bytes;
}

std::string FsBytes(const std::filesystem::path& path)
{
    return path.string();
}

} // namespace doorsel
