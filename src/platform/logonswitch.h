#pragma once

#include <string>

// Setting and resetting the logon screen from a window, and what the user is told afterwards.
namespace doorsel {

inline constexpr const char* LogonUIFileFilter = "LogonUI file (*.exe)|*.exe";
inline constexpr const char* SetSuccessMessage
    = "LogonUI.exe set successfully!\r\n\r\nLog Off or use WIN+L to test it.";
inline constexpr const char* ResetMessage = "Reset successfully!";

// The name a file dialog returned, without the blanks around it; blanks inside stay. No quotes are
// added, even around a path with blanks: the value names the file as it is.
std::string TrimChosenName(const std::string& name);

// The one way a window sets the logon screen: the path, unchanged, into UIHost. True when the value
// now reads back as written; only then may the user be told it was set.
bool SetLogonHost(const std::string& path);

// What the user is told instead when SetLogonHost failed: the logon screen was not changed, and why.
std::string SetFailedMessage();

// The success message is shown unless "AlertYN" is on.
bool SuccessMessageWanted();

} // namespace doorsel
