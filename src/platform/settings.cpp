#include "settings.h"

#include "platform/appinfo.h"
#include "platform/profile.h"

#include <charconv>
#include <string_view>

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

std::optional<double> ValueOf(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const size_t last = text.find_last_not_of(" \t");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+')
        ++begin;
    // Digits with an optional fraction only: no exponent, no "inf" or "nan".
    if (begin == end
        || std::string_view(begin, static_cast<size_t>(end - begin)).find_first_not_of("-0123456789.")
            != std::string_view::npos)
        return std::nullopt;
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

bool IsOn(const std::string& text)
{
    return ValueOf(text) == 1.0;
}

} // namespace doorsel::settings
