#pragma once

// The one seam between the executable and the module that holds the windows: the executable runs
// its one-shot modes without any GUI library, and loads the module only when the window mode starts.
// Nothing else crosses: the module finds its settings, registry and files the way the program does.
namespace doorsel {

#ifdef _WIN32
inline constexpr const char* WindowModuleName = "doorsel-gui.dll";
#else
inline constexpr const char* WindowModuleName = "libdoorsel-gui.so";
#endif

// The module's one exported function: shows the main window (minimised when asked), runs until the
// program ends and returns the exit code.
inline constexpr const char* WindowModuleEntryName = "doorsel_run_window";
using WindowModuleEntry = int (*)(char* programName, int minimized);

} // namespace doorsel
