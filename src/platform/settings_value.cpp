#include "settings.h"

#include "platform/settings_number.h"

// Numbers with a fraction, read by the runtime's floating-point parser: apart from the whole numbers
// the start-up run reads, so that the program does not carry that parser for them.
namespace doorsel::settings {

std::optional<double> ValueOf(const std::string& text)
{
    const std::string_view number = NumberText(text);
    // Digits with an optional fraction only: no exponent, no "inf" or "nan".
    if (number.find_first_not_of("-0123456789.") != std::string_view::npos)
        return std::nullopt;
    return WholeNumber<double>(number, std::chars_format::fixed);
}

bool IsOn(const std::string& text)
{
    return ValueOf(text) == 1.0;
}

} // namespace doorsel::settings
