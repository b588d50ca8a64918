#pragma once

#include <functional>
#include <optional>
#include <string>

// The keys of "config.ini" (all in the one section "Options") and how their text reads. Nothing here
// caches a value: every call reads the file named by ConfigPath at that moment.
namespace doorsel::settings {

inline constexpr const char* Section = "Options";

inline constexpr const char* LogonScreensFolder = "LogonScreensFolder";
inline constexpr const char* CloseBrowse = "CloseBrowse";
inline constexpr const char* AlertYN = "AlertYN";
inline constexpr const char* MinimizeToTray = "MinimizeToTray";
inline constexpr const char* EnableRandom = "EnableRandom";
inline constexpr const char* RotateEvery = "RotateEvery";
inline constexpr const char* NextRotation = "NextRotation";
inline constexpr const char* RunAtStartup = "RunAtStartup";
// Optional: the base address of the product's web server, replacing the built-in one.
inline constexpr const char* UpdateServer = "UpdateServer";

// ReadIniValue / WriteIniValue on section "Options" of ConfigPath.
std::string Read(const char* key);
bool Write(const char* key, const std::string& value);

// A write that depends on what is stored: `next` reads any key of the file as it is under the
// store's lock and returns the key's new value, or nothing to leave it. No other writer can come
// between the reads and the write. True when the value is stored.
using Reader = std::function<std::string(const char* key)>;
bool Update(const char* key, const std::function<std::optional<std::string>(const Reader& read)>& next);

// Stores a default: the value goes in only when the key is absent or empty at the moment of the write.
bool WriteIfEmpty(const char* key, const std::string& value);

// A whole number written in decimal, with optional blanks around it and an optional sign; nothing
// for anything else ("", "abc", "1x", "1.5") and for numbers beyond 64 bits.
std::optional<long long> NumberOf(const std::string& text);

// The number a text is, fractions included ("1.0", "+1", " 1 ", ".5"); nothing for anything else.
std::optional<double> ValueOf(const std::string& text);

// A flag is on when its text is numerically 1 ("1", "1.0", "+1"); absent, empty or anything else is
// off.
bool IsOn(const std::string& text);

} // namespace doorsel::settings
