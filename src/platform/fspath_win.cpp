#include "fspath.h"

#include "widetext.h"

namespace doorsel {

std::filesystem::path FsPath(const std::string& bytes)
{
    return widetext::Widen(bytes).value_or(std::wstring());
}

std::string FsBytes(const std::filesystem::path& path)
{
    return widetext::Narrow(path.native()).value_or(std::string());
}

} // namespace doorsel
