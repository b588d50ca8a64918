#pragma once

#include <string>

// What the user is told when a change could not be stored, and how the windows find out. Every
// text of these messages is here.
namespace doorsel {

namespace failuretext {
inline constexpr const char* LogonScreenNotChanged = "The logon screen could not be changed";
inline constexpr const char* SettingsNotSaved = "The settings could not be saved";
inline constexpr const char* RandomListNotSaved = "The random list could not be saved";

// Why: the first ones follow the store's file name ("registry.reg in the program folder is ...").
inline constexpr const char* NotAFile = " in the program folder is not a file";
inline constexpr const char* FileReadOnly = " in the program folder is read-only";
inline constexpr const char* FileNotWritten = " in the program folder could not be written";
inline constexpr const char* NoRightsToFolder = "no permission to write to the program folder";
inline constexpr const char* ReadOnlyDrive = "the program folder is on a read-only drive";
inline constexpr const char* DiskFull = "the disk is full";
inline constexpr const char* NoRightsToRegistry = "no permission to change the system registry";
} // namespace failuretext

// Writes a registry value and reads it back: true only when it now holds the value. The registry
// layer reports nothing, so reading back is how a window knows the change was stored.
bool WriteRegValueChecked(const std::string& path, const std::string& value);

// Why the store at this path (a file in the program folder; "" for the system registry) could not
// be written, in the user's words. The stores say only that a write failed, so the likeliest cause
// is worked out afterwards from the file, its folder and the disk.
std::string WhyNotWritten(const std::string& storePath);

// One sentence: what could not be done and why, e.g. "The settings could not be saved: the disk is
// full."
std::string NotStoredMessage(const char* what, const std::string& storePath);

} // namespace doorsel
