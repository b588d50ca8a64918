#pragma once

#include <optional>
#include <string>
#include <string_view>

// Between the program's byte strings and the system's UTF-16 text, on Windows. The bytes are in a
// code page: the process's own (CP_ACP), which is UTF-8 as the manifest asks, or another where the
// system ignores the manifest. A conversion gives the exact counterpart or nothing: never the
// system's look-alike ("best fit": Ω as O, a fullwidth ＼ as \), never a stand-in character. It also
// gives nothing when a \ or / byte would not be that character (the second byte of a double-byte
// character, as in 表 in code page 932), because every rule about paths finds the separator byte by
// byte.
namespace doorsel::widetext {

inline constexpr unsigned ProcessCodePage = 0; // CP_ACP

std::optional<std::string> Narrow(std::wstring_view text, unsigned codePage = ProcessCodePage);
std::optional<std::wstring> Widen(std::string_view text, unsigned codePage = ProcessCodePage);

// A name from a folder listing as the program may use it: also nothing for "." and "..", and for a
// name holding a separator, which would lead out of the folder.
std::optional<std::string> NarrowName(std::wstring_view name, unsigned codePage = ProcessCodePage);

// A path for the wide file functions: full, normalised ("/" as "\", "." and ".." resolved) and
// marked "\\?\" so that no length limit applies. Nothing for "" or a path Widen refuses.
std::optional<std::wstring> SystemPath(const std::string& path);

} // namespace doorsel::widetext
