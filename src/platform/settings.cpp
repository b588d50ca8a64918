#include "settings.h"

#include "platform/appinfo.h"
#include "platform/profile.h"
#include "platform/profile_text.h"

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

bool Update(const char* key, const std::function<std::optional<std::string>(const Reader& read)>& next)
{
    return profile::updateFileValue(
        Section, key,
        [&](const std::optional<std::string>& text) {
            // As ReadIniValue reads: at most 254 characters.
            return next([&](const char* name) { return profile::readString(text, Section, name, "", 255); });
        },
        ConfigPath);
}

bool WriteIfEmpty(const char* key, const std::string& value)
{
    return Update(
        key, [&](const Reader& read) { return read(key).empty() ? std::optional<std::string>(value) : std::nullopt; });
}

namespace {

// The text of a number: without the blanks and tabs around it, and without a leading '+'.
std::string_view numberText(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::string_view number(text.data() + first, text.find_last_not_of(" \t") + 1 - first);
    if (number.front() == '+')
        number.remove_prefix(1);
    return number;
}

// The whole text read as one number, or nothing.
template <typename T, typename... Format> std::optional<T> wholeNumber(std::string_view number, Format... format)
{
    T value {};
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value, format...);
    if (number.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<long long> NumberOf(const std::string& text)
{
    return wholeNumber<long long>(numberText(text));
}

std::optional<double> ValueOf(const std::string& text)
{
    const std::string_view number = numberText(text);
    // Digits with an optional fraction only: no exponent, no "inf" or "nan".
    if (number.find_first_not_of("-0123456789.") != std::string_view::npos)
        return std::nullopt;
    return wholeNumber<double>(number, std::chars_format::fixed);
}

bool IsOn(const std::string& text)
{
    return ValueOf(text) == 1.0;
}

} // namespace doorsel::settings
