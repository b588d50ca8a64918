#pragma once

#include <string>
#include <vector>

namespace doorsel {

// Names (bytes, as stored) of the normal files directly in a folder: no folders, no hidden files
// (on Windows also no system files; elsewhere a name starting with "." is hidden). In no particular
// order; empty when the folder is missing or cannot be read.
std::vector<std::string> NormalFilesIn(const std::string& folder);

} // namespace doorsel
