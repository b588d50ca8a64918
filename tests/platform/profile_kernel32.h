#pragma once

#include <optional>
#include <string>

// The real Windows profile functions, for comparing our own implementation with them. A missing
// optional is a NULL argument.
namespace doorsel::test::kernel32 {

// GetPrivateProfileStringA with a buffer of `size` characters; the result's length is what it returns.
std::string readString(const std::optional<std::string>& section, const std::optional<std::string>& key,
    const std::optional<std::string>& defaultValue, unsigned size, const std::string& file);

// WritePrivateProfileStringA.
bool writeString(const std::optional<std::string>& section, const std::optional<std::string>& key,
    const std::optional<std::string>& value, const std::string& file);

} // namespace doorsel::test::kernel32
