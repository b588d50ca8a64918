#pragma once

#include <QString>

namespace doorsel {

// Makes Tahoma available, so the windows are drawn in the face they were laid out for: the
// system's own face, or else the compatible one Wine ships, when it is installed; otherwise the
// system's dialog face stands in for it.
// Returns whether Tahoma is available. Safe to call more than once.
bool RegisterTahoma();

// The Tahoma face Wine ships, where Wine is installed; empty otherwise.
QString WineTahomaFile();

} // namespace doorsel
