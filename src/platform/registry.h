#pragma once

#include <string>

namespace doorsel {

// Registry access by value path, in the scripting shell's notation: a root key ("HKEY_LOCAL_MACHINE"
// or its short form "HKLM", and the other standard roots), the sub-key path and the value name, all
// joined by backslashes. Values are strings. Nothing is ever reported: a write or delete that fails
// has no effect, and a read that fails returns "", so callers cannot tell a missing value from an
// empty one.
void WriteRegValue(const std::string& path, const std::string& value);
std::string ReadRegValue(const std::string& path);
void DeleteRegValue(const std::string& path);

// Where the portable back-end keeps its values: "registry.reg" in the program folder.
std::string RegistryStorePath();

} // namespace doorsel
