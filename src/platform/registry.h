#pragma once

#include <string>

namespace doorsel {

// Registry access by value path, in the scripting shell's notation: a root key ("HKEY_LOCAL_MACHINE"
// or its short form "HKLM", and the other standard roots), the sub-key path and the value name, all
// joined by backslashes. Values are strings. A write or delete that fails has no effect and returns
// false (deleting a value that is not there succeeds); a read that fails returns "", so callers
// cannot tell a missing value from an empty one.
bool WriteRegValue(const std::string& path, const std::string& value);
std::string ReadRegValue(const std::string& path);
bool DeleteRegValue(const std::string& path);

// Where the portable back-end keeps its values: "registry.reg" in the program folder.
std::string RegistryStorePath();

} // namespace doorsel
