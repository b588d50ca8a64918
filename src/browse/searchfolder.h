#pragma once

#include <functional>
#include <string>

namespace doorsel {

// A LogonUI executable found by the walk, as the browse list shows it.
struct FoundFile {
    std::string fileName; // as the file system stores it, e.g. logonui.exe
    std::string folderName; // the last component of its folder, e.g. Bliss
    std::string fullPath; // folder path with its separator, then the file name
};

// The path with one separator at its end: "" gives a lone separator, a path ending in one is kept.
std::string AddBackslash(const std::string& path);

// The last component of a folder path that ends in a separator; "" when there is none (a root).
std::string FolderNameOf(const std::string& folderPath);

// Reports every file under path whose name ends in exactly ".exe" (case-sensitive; folders never),
// a folder's own files first, then each sub-folder depth first, names in the file system's order.
// A missing or unreadable folder yields nothing. Links to folders are walked like folders, except
// one that leads back to the folder it is in or to a folder above it, which would loop.
void SearchFolder(const std::string& path, bool includeSubfolders, const std::function<void(const FoundFile&)>& found);

} // namespace doorsel
