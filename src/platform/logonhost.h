#pragma once

#include <string>

namespace doorsel {

// The registry value that names the program the system runs as its logon screen. Every write goes
// through the full root name; the preview reads through the short one (both reach the same value).
inline constexpr const char* UIHostPath
    = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\UIHost";
inline constexpr const char* UIHostPathShort
    = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\UIHost";

// The system's own logon screen, which the system resolves itself.
inline constexpr const char* DefaultLogonHost = "logonui.exe";

// The key whose values start programs with the system, and the two values this program keeps there.
inline constexpr const char* RunKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
std::string RunValueRandomPath(); // "... Run\Doorsel Random": starts the random run
std::string RunValueStartupPath(); // "... Run\Doorsel": starts the window minimised

} // namespace doorsel
