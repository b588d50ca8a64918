#include "platform/profile_kernel32.h"

#include <vector>

#include <windows.h>

namespace doorsel::test::kernel32 {
namespace {

const char* argument(const std::optional<std::string>& s)
{
    return s ? s->c_str() : nullptr;
}

} // namespace

std::string readString(const std::optional<std::string>& section, const std::optional<std::string>& key,
    const std::optional<std::string>& defaultValue, unsigned size, const std::string& file)
{
    std::vector<char> buffer(size + 1, '\xCC');
    const DWORD length = GetPrivateProfileStringA(
        argument(section), argument(key), argument(defaultValue), buffer.data(), size, file.c_str());
    return std::string(buffer.data(), length < buffer.size() ? length : buffer.size());
}

bool writeString(const std::optional<std::string>& section, const std::optional<std::string>& key,
    const std::optional<std::string>& value, const std::string& file)
{
    return WritePrivateProfileStringA(argument(section), argument(key), argument(value), file.c_str()) != FALSE;
}

} // namespace doorsel::test::kernel32
