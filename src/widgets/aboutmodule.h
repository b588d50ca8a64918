#pragma once

class QWidget;

// The About window lives in a module of its own: it alone needs the network libraries, which the
// main window then does not load before it shows. The main window loads it on the first "About".
namespace doorsel {

class Shell;

#ifdef _WIN32
inline constexpr const char* AboutModuleName = "doorsel-about.dll";
#else
inline constexpr const char* AboutModuleName = "libdoorsel-about.so";
#endif

// The module's one exported function: shows the About window modally over `owner` until it closes.
inline constexpr const char* AboutModuleEntryName = "doorsel_show_about";
using AboutModuleEntry = void (*)(Shell* shell, QWidget* owner);

} // namespace doorsel
