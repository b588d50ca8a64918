#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of a registry export in regedit's format ("REGEDIT4", "[HKEY_...\Key]" lines and
// "Name"="value" lines with \\ and \" escaped), which the portable back-end uses as its store so that
// a user can read it and import it into a real registry.
namespace doorsel::regfile {

// A value path split into its key (full root name, e.g. "HKEY_LOCAL_MACHINE\SOFTWARE\X") and value
// name ("" for a key's default value, which a path ending in a backslash names). Nothing when the
// root is not a known one.
struct ValuePath {
    std::string key;
    std::string name;
};
std::optional<ValuePath> splitValuePath(std::string_view path);

// The value stored for key/name in the text, or nothing. Keys and names match without regard to
// case; what cannot be parsed is not there.
std::optional<std::string> lookup(std::string_view text, const ValuePath& where);

// The text with key/name set to value (the key and its section made when missing), or with the
// value removed; every other line stays as it was. Nothing when the text need not change, or when
// the value cannot be stored in this format (CR, LF or NUL in it).
std::optional<std::string> withValue(std::string_view text, const ValuePath& where, std::string_view value);
std::optional<std::string> withoutValue(std::string_view text, const ValuePath& where);

} // namespace doorsel::regfile
