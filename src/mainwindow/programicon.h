#pragma once

#include <QIcon>

namespace doorsel {

// The program's icon at 16, 32 and 48 pixels: window, header picture and tray icon.
QIcon ProgramIcon();

} // namespace doorsel
