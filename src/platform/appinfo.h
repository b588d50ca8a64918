#pragma once

#include "buildversion.h"

#include <string>

namespace doorsel {

inline constexpr const char* ProductName = "Doorsel";
inline constexpr const char* ProductVersion = DOORSEL_VERSION; // the project's version in CMakeLists.txt
inline constexpr const char* ReleaseDate = "12/18/2001";

// The platform's path separator; every rule about "the folder part of a path", a trailing
// separator or a folder name uses this one character.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// Full path of the settings file: the program folder followed by the separator and "config.ini".
// Set first thing at start-up; every settings read and write names it.
extern std::string ConfigPath;

// The folder that holds the running executable, without a trailing separator; "" when the
// executable's path cannot be had.
std::string ProgramFolder();

// A file in the program folder: the folder, the separator and the name; "" when the folder is not
// known, so that nothing is ever read or written somewhere else instead.
std::string ProgramFile(const std::string& name);

// Full path of the running executable; "" when it cannot be had, or not exactly (on Windows, a
// path the code page cannot hold).
std::string ExecutablePath();

// Makes every program-folder lookup use another folder (each test runs in a folder of its own).
void SetProgramFolder(const std::string& folder);

// ConfigPath for the current program folder ("" when it is not known).
std::string DefaultConfigPath();

} // namespace doorsel
