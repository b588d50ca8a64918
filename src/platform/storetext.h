#pragma once

#include <string_view>

// Rules about the text the stores hold, shared by the settings file and the registry file.
namespace doorsel::storetext {

// Names match without regard to ASCII case only, as Windows matches them; bytes above 0x7F must be
// equal.
bool sameName(std::string_view a, std::string_view b);

// Whether a text can stand in a store as one line: a CR, LF or NUL written raw would end the line
// early and let a value inject names of its own.
bool storable(std::string_view s);

} // namespace doorsel::storetext
