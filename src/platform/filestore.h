#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace doorsel {

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::string> readFile(const std::string& path);

// What an update does with a file: given its current content (nothing when the file is absent),
// return the new content, or nothing to leave the file as it is.
using FileEdit = std::function<std::optional<std::string>(const std::optional<std::string>& current)>;

// One read-modify-write of a file, safe against other processes and crashes: it holds an exclusive
// lock (on a companion file, path + ".lock") for the whole step, writes the new content to a
// temporary file beside the target and renames it over the target, so readers see either the old
// or the new content, never a part. Returns false when the edit made no change or anything failed;
// the target is then left as it was.
bool updateFile(const std::string& path, const FileEdit& edit);

// Replaces a file's whole content the same safe way.
bool replaceFile(const std::string& path, const std::string& content);

namespace detail {
// The two platform steps of an update: an exclusive lock on path + ".lock" that is held while the
// returned object lives (empty when the lock cannot be had), and writing a temporary file beside the
// target that is then renamed over it.
std::shared_ptr<void> lockExclusive(const std::string& path);
bool writeAndRename(const std::string& path, const std::string& content);
} // namespace detail

} // namespace doorsel
