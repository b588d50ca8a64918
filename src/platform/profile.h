#pragma once

#include <string>

namespace doorsel {

// Settings-file access. ReadIniValue returns a value's text, or "" when the file, the section or
// the key is absent; at most 254 characters come back, as from a 255-character buffer.
std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& file);

// The one way the program writes a setting: creates the file and the section when needed, adds the
// key or replaces its value in place, and leaves every other line as it was. Returns false when
// nothing was stored; a section, key or value holding CR, LF or NUL is refused and changes nothing,
// since a line break written raw would let a value inject sections and keys.
bool WriteIniValue(
    const std::string& section, const std::string& key, const std::string& value, const std::string& file);

} // namespace doorsel
