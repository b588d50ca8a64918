#pragma once

#include "platform/folderlist.h"

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

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
// The same, as a part of the folder path itself.
std::string_view FolderNameIn(std::string_view folderPath);

// How the walk reads a folder: ListFolder, or a stand-in that a test can hold back.
using FolderLister = std::function<std::vector<FolderEntry>(
    const std::string& folder, std::optional<FolderIdentity>* identity, const std::atomic<bool>* stop)>;

// What a walk on a thread of its own needs besides its folder. Another thread may set `stop`: the
// walk then ends promptly, even within a folder of very many entries, and reports nothing more.
struct WalkControl {
    std::atomic<bool> stop {false};
    // Called with each folder's path (ending in a separator) just before the folder is read.
    std::function<void(const std::string& folderPath)> reading;
    FolderLister list = [](const std::string& folder, std::optional<FolderIdentity>* identity,
                            const std::atomic<bool>* stop) { return ListFolder(folder, identity, stop); };
};

// Reports every file under path whose name ends in exactly ".exe" (case-sensitive; folders never),
// a folder's own files first, then each sub-folder depth first, names in the file system's order.
// The file reported is valid only during the call: `found` keeps what it needs.
// A missing or unreadable folder yields nothing. Links to folders are walked like folders, except
// one that leads back to the folder it is in or to a folder above it, which would loop, and one
// that leads to a folder another link has already led to in this walk.
void SearchFolder(const std::string& path, bool includeSubfolders, const std::function<void(const FoundFile&)>& found,
    WalkControl* control = nullptr);

} // namespace doorsel
