#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace doorsel::settings {

// The text of a number: without the blanks and tabs around it, and without a leading '+'.
inline std::string_view NumberText(const std::string& text)
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
template <typename T, typename... Format> std::optional<T> WholeNumber(std::string_view number, Format... format)
{
    T value {};
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value, format...);
    if (number.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace doorsel::settings
