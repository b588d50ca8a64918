#include "settings.h"

#include "platform/appinfo.h"
#include "platform/profile.h"

#include <charconv>

namespace doorsel::settings {

std::string Read(const char* key)
{
    return ReadIniValue(Section, key, ConfigPath);
}

bool Write(const char* key, const std::string& value)
{
    return WriteIniValue(Section, key, value, ConfigPath);
}

std::optional<long long> NumberOf(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const size_t last = text.find_last_not_of(" \t");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+')
        ++begin;
    long long value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

bool IsOn(const std::string& text)
{
    return NumberOf(text) == 1;
}

} // namespace doorsel::settings
