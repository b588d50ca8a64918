#pragma once

#include <string>

namespace doorsel {

// The folder of an executable path: the text before its last separator, followed by one separator.
// A path without any separator is taken whole ("logonui.exe" gives "logonui.exe/"; "" gives "/").
std::string FolderOfExecutable(const std::string& executablePath);

// True when the folder is exactly that of the system's own logon screen, "logonui.exe" followed by
// the separator: the value that names no file of its own. Letter case counts.
bool IsSystemLogonScreen(const std::string& folder);

// The preview picture in a folder (given with its trailing separator): the first "*.jpg", else the
// first "*.jpeg", else the first "*.bmp" among the folder's normal files (no folders, no hidden
// files), the extension compared without regard to case. Among several names of one pattern the
// first in case-insensitive name order wins. Returns the folder followed by the name, or "" when
// there is none or the folder cannot be read.
std::string FindPreviewPicture(const std::string& folder);

} // namespace doorsel
