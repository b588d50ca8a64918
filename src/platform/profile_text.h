#pragma once

#include <functional>
#include <optional>
#include <string>

// Our own implementation of the Windows profile functions, with their observable behaviour:
// case-insensitive names, trimming, quote handling, creation on first write, in-place replacement
// that keeps every other byte of the file, and the reader's buffer limit.
namespace doorsel::profile {

// GetPrivateProfileStringA on a file's text (nothing when the file is absent): the value of
// section/key, or the default; at most size - 1 characters. The result's length is the count
// the Windows function returns.
std::string readString(const std::optional<std::string>& text, const std::string& section, const std::string& key,
    const std::string& defaultValue, unsigned size);

// WritePrivateProfileStringA on a file's text: the new text, or nothing when the file need not
// change (the value is already stored) or the write is refused (CR, LF or NUL in a name or value).
struct WriteOutcome {
    bool ok = false; // what the Windows function would return
    std::optional<std::string> text; // new file content, when the file changes
};
WriteOutcome writeString(const std::optional<std::string>& text, const std::string& section, const std::string& key,
    const std::string& value);

// The same two operations on a file; the write takes the locked, renamed path of UpdateStoreFile.
std::string readFileValue(const std::string& section, const std::string& key, const std::string& defaultValue,
    unsigned size, const std::string& file);
bool writeFileValue(
    const std::string& section, const std::string& key, const std::string& value, const std::string& file);

// One read-modify-write of a value under the store's lock: `valueFor` is given the file's text as it
// is now (nothing when there is no file) and returns the value to store, or nothing to leave the file
// as it is. True when the value is stored.
using ValueFor = std::function<std::optional<std::string>(const std::optional<std::string>& text)>;
bool updateFileValue(
    const std::string& section, const std::string& key, const ValueFor& valueFor, const std::string& file);

} // namespace doorsel::profile
