#pragma once

#include <functional>
#include <optional>
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

// Sets a value from the one stored: `choose` is given the stored value ("" when there is none, as
// a read gives it) and returns the new one, or nothing to leave the value as it is. The portable
// store lets no other writer come between the read and the write. False when the value could not
// be read or written.
using RegValueChoice = std::function<std::optional<std::string>(const std::string& stored)>;
bool UpdateRegValue(const std::string& path, const RegValueChoice& choose);

// Where the portable back-end keeps its values: "registry.reg" in the program folder.
std::string RegistryStorePath();

} // namespace doorsel
